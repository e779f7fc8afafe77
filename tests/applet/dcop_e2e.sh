#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The applet's DCOP interface in a real panel under X, driven by dcop and by
# dbus-send while the panel keeps running: the lists of calls, hide, show,
# setPos and exit. Arguments: PANELHOST DCOP SCREENPROBE (see
# tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"

send() { # METHOD [ARG]: a call through D-Bus as other programs make it
    dbus-send --session --print-reply --dest=org.kde.panelhost /OvraIface \
        "org.kde.DCOP.OvraIface.$1" ${2:+"$2"} >/dev/null
}

start_panel
check_eq "the panel holds OvraIface" OvraIface "$(wait_for_object 20 OvraIface)"
check_eq "the gauge is shown" "width=150" "$(wait_for_output 10 width=150 gauge_width dcop)"

functions=$("$dcop" panelhost OvraIface functions)
check_eq "the applet's calls follow the base's" \
    "QCStringList interfaces()|QCStringList functions()|void setPos(int pos)|void exit()|void hide()|void show()" \
    "$(paste -sd'|' <<<"$functions")"
check_eq "interfaces" "DCOPObject|OvraIface" "$("$dcop" panelhost OvraIface interfaces | paste -sd'|')"

"$dcop" panelhost OvraIface hide
check_eq "dcop hide" "no gauge" "$(wait_for_output 5 "no gauge" gauge_width dcop)"
"$dcop" panelhost OvraIface show
check_eq "dcop show" "width=150" "$(wait_for_output 5 width=150 gauge_width dcop)"
send hide
check_eq "dbus-send hide" "no gauge" "$(wait_for_output 5 "no gauge" gauge_width dcop)"
send show
check_eq "dbus-send show" "width=150" "$(wait_for_output 5 width=150 gauge_width dcop)"

"$dcop" panelhost OvraIface setPos 0
check_eq "dcop setPos 0" 0 $?
"$dcop" panelhost OvraIface setPos 7
check_eq "dcop setPos 7 is accepted" 0 $?
send setPos int32:1
check_eq "dbus-send setPos 1 is accepted" 0 $?
"$dcop" panelhost OvraIface setPos 2>/dev/null
[ $? -ne 0 ] && echo "ok: dcop setPos without an argument is refused" || fail "setPos without argument"
send setPos 2>/dev/null && fail "dbus-send setPos without an argument succeeded" \
    || echo "ok: dbus-send setPos without an argument is refused"
check_eq "the gauge is still shown" "width=150" "$(gauge_width dcop)"

send exit
check_eq "exit empties the applet" "no gauge" "$(wait_for_output 5 "no gauge" gauge_width dcop)"
check_eq "the emptied applet still answers" "$functions" "$("$dcop" panelhost OvraIface functions)"
"$dcop" panelhost OvraIface show
check_eq "show after exit" 0 $?
"$dcop" panelhost OvraIface exit
check_eq "a second exit" 0 $?
check_eq "the emptied applet stays empty" "no gauge" "$(gauge_width dcop)"

check_panel_runs
end_test
