#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The simulated laptop's system: bash as /bin/sh, a working /proc with the
# module's directory, private temporary directories, HOME and session bus.
# Runs inside laptop/sandbox.
set -uo pipefail
. "$(dirname "$0")/lib.sh"

check_shell() {
    check_match "/bin/sh is bash" '^[0-9]' "$(/bin/sh -c 'echo $BASH_VERSION')"
    # dash reads "cmd &>file" as "cmd &" then ">file": the status would be 0.
    check_eq "&> keeps the command's status" 1 "$(/bin/sh -c 'false &>/dev/null; echo $?')"
    local start=$EPOCHREALTIME took
    /bin/sh -c 'sleep 0.5 &> /dev/null'
    took=$(elapsed "$start")
    check "&> waits for the command (took $took s)" awk "BEGIN { exit !($took >= 0.5) }"
    check_eq "&> sends both streams to the file" "out err" \
        "$(/bin/sh -c '{ echo out; echo err >&2; } &>/tmp/both'; paste -sd' ' /tmp/both)"
    check_eq "sh -c runs with argv[0] sh" sh "$(/bin/sh -c 'echo $0')"
    check_eq "/bin/sh works with an empty environment" ok "$(env -i /bin/sh -c 'echo ok')"
}

check_proc() {
    check "/proc/self is this process" test /proc/self -ef "/proc/$BASHPID"
    check_eq "/proc/PID/exe of this process" "$(readlink -f /bin/bash)" "$(readlink -f /proc/$$/exe)"
    check "ps lists this shell" bash -c "ps -eo pid | grep -qw $$"
    check "/proc/H8 exists" test -d /proc/H8
    check "/proc/mounts is readable" grep -q ' /etc overlay ' /proc/mounts
    local max links
    max=$(</proc/sys/kernel/pid_max)
    links=$(find /proc -maxdepth 1 -name '[0-9]*' | wc -l)
    check "every possible pid has its link ($max <= $links)" test "$max" -le "$links"
    check "/proc/sys is read-only" bash -c '! echo 1 2>/dev/null >/proc/sys/kernel/pid_max'
}

check_private() {
    local d
    for d in /tmp /var/tmp /dev/shm; do
        check "$d is a private tmpfs" bash -c "findmnt -n -o FSTYPE --target $d | grep -qx tmpfs"
    done
    check "HOME is private" test "$HOME" != /root -a -w "$HOME"
    check_eq "XDG_RUNTIME_DIR is private (mode 700)" 700 "$(stat -c %a "$XDG_RUNTIME_DIR")"
    check_eq "NO_AT_BRIDGE=1" 1 "${NO_AT_BRIDGE-}"
    check "a private session bus answers" bash -c 'dbus-send --session --print-reply \
        --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.GetId >/dev/null'
    check "the source tree is reachable" test -r "$LAPTOP_SRC/sandbox"
}

check_populated() {
    local f=/etc/sysconfig/powersave/common
    check_eq "common: both scheme keys" 'AC_SCHEME="performance"
BATTERY_SCHEME="powersave"' "$(grep -E '^(AC|BATTERY)_SCHEME=' "$f")"
    check "common: comment blocks and other keys" grep -q '^## Type:' "$f"
    check_eq "scheme files of the daemon" "acoustic performance powersave presentation" \
        "$(cd /etc/sysconfig/powersave && ls scheme_* | sed 's/scheme_//' | paste -sd' ')"
    check_eq "scheme files of the product" "nexalt_quiet performance powersave presentation" \
        "$(cd /opt/nexalt/pm/scheme && ls scheme_* | sed 's/scheme_//' | paste -sd' ')"
    check_eq "scheme files differ in size" 4 \
        "$(stat -c %s /etc/sysconfig/powersave/scheme_* | sort -u | wc -l)"
    check "icons are 32x32 PNG files" bash -c \
        'for i in main ac; do file /opt/nexalt/pm/bin/res/$i.png | grep -q "PNG image data, 32 x 32" || exit 1; done'
    check "the module file is there" test -f /opt/nexalt/install/batinfo.ko
}

check_shell
check_proc
check_private
check_populated
finish
