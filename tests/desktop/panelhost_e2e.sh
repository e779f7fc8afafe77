#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# panelhost and dcop as a user runs them: the test applet in a real panel under
# X, called through dcop and dbus-send. Arguments: PANELHOST DCOP (see
# tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
# The applets each start names.
panel_args=()

# --- the test applet in a running panel -------------------------------------
start_panel --applet testapplet.desktop
check_eq "dcop lists the applet's object" TestApplet "$(wait_for_output 10 TestApplet "$dcop" panelhost)"
"$dcop" | grep -qx panelhost && echo "ok: dcop lists panelhost" || fail "dcop lists no panelhost"

functions=$("$dcop" panelhost TestApplet)
check_eq "functions via 'dcop APP OBJ'" "$functions" "$("$dcop" panelhost TestApplet functions)"
grep -qx "void setPreferredWidth(int width)" <<<"$functions" && echo "ok: setPreferredWidth listed" \
    || fail "functions: $functions"
check_eq "first listed function" "QCStringList interfaces()" "$(head -n1 <<<"$functions")"

check_eq "initial width from widthForHeight" 60 "$(wait_for_output 10 60 "$dcop" panelhost TestApplet width)"
check_eq "height of the default panel minus its margins" 36 "$("$dcop" panelhost TestApplet height)"

"$dcop" panelhost TestApplet setPreferredWidth 90
check_eq "dcop call with an int argument succeeds" 0 $?
check_eq "width follows the new wish" 90 "$(wait_for_output 10 90 "$dcop" panelhost TestApplet width)"

dbus-send --session --print-reply --dest=org.kde.panelhost /TestApplet \
    org.kde.DCOP.TestApplet.setPreferredWidth int32:120 >/dev/null
check_eq "dbus-send call with an int argument succeeds" 0 $?
check_eq "width after dbus-send" 120 "$(wait_for_output 10 120 "$dcop" panelhost TestApplet width)"
reply=$(dbus-send --session --print-reply --dest=org.kde.panelhost /TestApplet \
    org.kde.DCOP.TestApplet.width)
grep -q "int32 120" <<<"$reply" && echo "ok: dbus-send reply" || fail "dbus-send reply: $reply"

"$dcop" panelhost TestApplet setFixedWidth 70
check_eq "width constraints win" 70 "$(wait_for_output 10 70 "$dcop" panelhost TestApplet width)"

introspection=$(dbus-send --session --print-reply --dest=org.kde.panelhost /TestApplet \
    org.freedesktop.DBus.Introspectable.Introspect)
for f in $(sed -E 's/^[^ ]+ ([A-Za-z_]+)\(.*/\1/' <<<"$functions"); do
    grep -q "<method name=\"$f\">" <<<"$introspection" || fail "introspection lacks $f"
done
grep -q '<arg name="width" type="i" direction="in"/>' <<<"$introspection" \
    && echo "ok: introspection types setPreferredWidth(int)" || fail "introspection: $introspection"

err=$("$dcop" panelhost TestApplet setPreferredWidth 0 2>&1 >/dev/null)
status=$?
[ $status -ne 0 ] && echo "ok: refused call exits $status ($err)" || fail "refused call exited 0"
dbus-send --session --print-reply --dest=org.kde.panelhost /TestApplet \
    org.kde.DCOP.TestApplet.setPreferredWidth int32:-5 >/dev/null 2>&1 \
    && fail "refused dbus-send call succeeded" || echo "ok: refused dbus-send call fails"

"$dcop" panelhost TestApplet setPreferredWidth wide 2>/dev/null
check_eq "bad argument exit status" 2 $?
"$dcop" panelhost NoSuchObject 2>/dev/null
check_eq "unknown object exit status" 1 $?
"$dcop" nosuchapp 2>/dev/null
check_eq "unknown application exit status" 1 $?

check_eq "greeting from the applet's catalogue (no LANGUAGE)" Hello "$("$dcop" panelhost TestApplet greeting)"

# "Remove" from the handle's right-click menu, with the real mouse and keyboard.
if command -v xdotool >/dev/null; then
    screen_height=$(xdotool getdisplaygeometry | cut -d' ' -f2)
    xdotool mousemove 5 $((screen_height - 20)) click 3
    sleep 1
    xdotool key r
    check_eq "Remove deletes the applet" "" "$(wait_for_output 10 "" "$dcop" panelhost)"
    kill -0 "$panel_pid" 2>/dev/null && echo "ok: panel still runs" || fail "panel ended"
fi
stop_panel

# --- a second panel registers with its pid -----------------------------------
start_panel --applet testapplet.desktop
first_pid=$panel_pid
wait_for_output 10 TestApplet "$dcop" panelhost >/dev/null
start_panel --applet testapplet.desktop
wait_for_output 10 TestApplet "$dcop" "panelhost-$panel_pid" >/dev/null
"$dcop" | grep -qx "panelhost-$panel_pid" && echo "ok: second instance is panelhost-PID" \
    || fail "second instance: $("$dcop")"
stop_panel
panel_pid=$first_pid
stop_panel

# --- the applet's catalogue under a German locale ------------------------------
LANGUAGE=de LANG=C.UTF-8 start_panel --applet testapplet.desktop
check_eq "greeting from the applet's catalogue (LANGUAGE=de)" "Grüß dich" \
    "$(wait_for_output 10 "Grüß dich" "$dcop" panelhost TestApplet greeting)"
stop_panel

# --- an applet whose init returns null ----------------------------------------
OVRA_TESTAPPLET_NULL=1 start_panel --applet testapplet.desktop
wait_for_output 10 "" "$dcop" panelhost >/dev/null
sleep 1
kill -0 "$panel_pid" 2>/dev/null && echo "ok: panel runs without the applet" || fail "panel ended"
"$dcop" | grep -qx panelhost && echo "ok: panel still answers dcop" || fail "panel gone from dcop"
grep -q "returned no applet" "$panel_log" && echo "ok: message: $(cat "$panel_log")" || fail "no message: $(cat "$panel_log")"
stop_panel

# --- loading errors are messages, never crashes --------------------------------
bad=$(mktemp -d)
printf '[Desktop Entry]\nName=Gone\nX-KDE-Library=libovranothere\n' >"$bad/gone.desktop"
start_panel --applet "$bad/gone.desktop" --applet nosuchentry.desktop
sleep 2
kill -0 "$panel_pid" 2>/dev/null && echo "ok: panel survives loading errors" || fail "panel ended"
grep -q "libovranothere not found" "$panel_log" && grep -q 'no applet entry "nosuchentry.desktop"' "$panel_log" \
    && echo "ok: loading errors reported" || fail "messages: $(cat "$panel_log")"
stop_panel

"$panelhost" --help | grep -q -- "--applet <ENTRY>" && echo "ok: --help" || fail "--help"
"$panelhost" --height 5 2>/dev/null
check_eq "bad height exit status" 2 $?

finish
