#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The session's hot key: openbox with the simulated laptop's rc.xml starts
# the popup at each press of the battery key or of Super+F5, six times in a
# row, the popup closed or a scheme picked in turn; each press opens one
# popup, which ends when closed.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

# The popup visible now, whoever started it.
popup_on_screen() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -1; }
has_popup_on_screen() { [[ -n $(popup_on_screen) ]]; }

PATH="$(dirname "$SCHEMEPOP"):$PATH" start_window_manager \
    openbox --sm-disable --config-file "$LAPTOP_SRC/openbox/rc.xml"
keys=(XF86Battery super+F5 XF86Battery super+F5 XF86Battery super+F5)
# openbox names itself before it grabs its keys: a press in between is lost.
wait_until 10 "$KEYGRABBED" XF86Battery super+F5 || fail_now "openbox grabbed no hot key"
ac=performance
for i in "${!keys[@]}"; do
    : >"$LAPTOP_DIR/calls.log"
    xdotool key "${keys[i]}"
    wait_until 15 has_popup_on_screen || fail_now "press $i (${keys[i]}): no popup"
    WID=$(popup_on_screen)
    pid=$(xdotool getwindowpid "$WID")
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    wait_until 10 is_active "$WID" || fail_now "press $i: popup not activated"
    (($(xdotool search --onlyvisible --name "^$TITLE\$" | wc -l) == 1)) ||
        fail_now "press $i: more than one popup"
    if ((i % 2)); then
        ac=$([[ $ac == performance ]] && echo powersave || echo performance)
        xdotool mousemove --sync $((X + 100)) $((Y + 340)) \
            mousemove --sync $((X + 258)) $((Y + 55 + 35 * $(row_of "$ac") + 17)) click 1
    else
        click_at 470 330 # "Close"
    fi
    wait_until 15 bash -c "! kill -0 $pid 2>/dev/null" || fail_now "press $i: popup did not end"
    wait_until 5 bash -c "! xdotool search --onlyvisible --name '^$TITLE\$' >/dev/null" ||
        fail_now "press $i: the window stayed"
    check_common "$ac" powersave
    if ((i % 2)); then check_calls "$RELOAD" "$IDLETIME"; else check_calls; fi
    echo "press $i (${keys[i]}): popup shown and ended"
done
finish
