#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A command on the simulated laptop writes everywhere and then ends: normally,
# killed, or with the sandbox killed from outside. Every time the real machine
# stays as it was: none of the files, none of the processes (X server, bus,
# battery simulator) outlive the run. As root, once more with /usr and /var
# overlaid (--overlay-system), writing into them as dpkg does, and on the
# laptop of today (--today), whose upowerd and power-profiles-daemon keep
# state under /var/lib. Runs outside the sandbox, as root or as an ordinary
# user:  host-unchanged.sh SANDBOX
set -uo pipefail
. "$(dirname "$(readlink -f "$0")")/lib.sh"
sandbox=${1:?usage: host-unchanged.sh SANDBOX}
marker=laptop-probe-$$-$RANDOM
share=$(mktemp -d /tmp/laptop-share.XXXXXX)

# A file of the real /etc that the command deletes (and, where it may, changes).
if ((EUID == 0)); then
    keep=/etc/$marker.keep
    echo host >"$keep"
else
    keep=/etc/debian_version
    [[ -f $keep ]] || keep=/etc/passwd
fi
keep_sum=$(sha256sum "$keep")
trap 'rm -rf "$share"; ((EUID)) || rm -f "$keep"' EXIT

# What the command does inside: it writes where it can, then ends as $END says.
# shellcheck disable=SC2016 # expanded inside
writer='
for d in /etc /etc/sysconfig/powersave /etc/init.d /opt /opt/nexalt/pm /proc/H8 \
    /tmp /var/tmp /dev/shm "$HOME" "$XDG_RUNTIME_DIR" $SYSTEM_DIRS; do
    mkdir -p "$d" && echo x >"$d/$MARKER" || exit 90
done
mkdir -p "/etc/$MARKER.d/sub" && echo x >"/etc/$MARKER.d/sub/f" || exit 91
echo x >>/etc/sysconfig/powersave/common || exit 92
{ echo x >>"$KEEP"; } 2>/dev/null
rm -f "$KEEP" && test ! -e "$KEEP" || exit 93
touch "$SHARE/ready"
case $END in
exit) sleep 0.5; exit 3 ;;
killed) sleep 0.5; kill -9 $$ ;;
*) sleep 60 ;;
esac'

# "pid ppid starttime" of every process of the machine: its /proc/PID/stat
# fields after "pid (command) " are state, ppid, ... and, 20th, the start time.
# cat goes on past processes that end meanwhile.
process_table() {
    cat /proc/[0-9]*/stat 2>/dev/null | awk '{ pid = $1; sub(/.*\) /, ""); print pid, $2, $20 }'
}

# "pid starttime" of a process and all its descendants.
descendants() { # pid
    process_table | awk -v root="$1" '
        { parent[$1] = $2; start[$1] = $3 }
        END {
            mine[root] = 1
            do {
                grew = 0
                for (p in parent) if (!(p in mine) && (parent[p] in mine)) { mine[p] = 1; grew = 1 }
            } while (grew)
            for (p in mine) if (p in start) print p, start[p]
        }'
}

# Those of the given "pid starttime" lines whose process still runs.
alive() {
    awk 'NR == FNR { now[$1] = $3; next } ($1 in now) && now[$1] == $2 { print $1 }' \
        <(process_table) -
}

# Where dpkg writes, with --overlay-system.
system_dirs="/usr/bin /usr/lib /usr/share/doc /var/lib/dpkg /var/lib/dpkg/info /var/cache /var/log"
# Where the laptop of today's services write, with --today.
today_dirs="/var/lib /var/cache /var/log"
# Their state: what is there before must be there after, unchanged.
service_state() {
    find /var/lib/upower /var/lib/power-profiles-daemon -printf '%p %s %T@\n' 2>/dev/null | sort
}
service_state_before=$(service_state)

run_and_end() { # how: exit | killed | sandbox-killed [sandbox option...]
    local how=$1 pid rc procs left i dirs=
    shift
    [[ " $* " == *" --overlay-system "* ]] && dirs=$system_dirs
    [[ " $* " == *" --today "* ]] && dirs=$today_dirs
    rm -f "$share/ready"
    "$sandbox" --x11 --battery-sim "$@" --share "$share" --env "MARKER=$marker" --env "KEEP=$keep" \
        --env "SHARE=$share" --env "END=$how" --env "SYSTEM_DIRS=$dirs" -- sh -c "$writer" &
    pid=$!
    for ((i = 0; i < 300; i++)); do
        [[ -e $share/ready ]] || ! kill -0 "$pid" 2>/dev/null && break
        sleep 0.1
    done
    check "$how: the command wrote everywhere" test -e "$share/ready"
    procs=$(descendants "$pid")
    check "$how: X server, bus and simulator ran ($(wc -l <<<"$procs") processes)" \
        test "$(wc -l <<<"$procs")" -ge 6
    [[ $how == sandbox-killed ]] && kill -KILL "$pid"
    wait "$pid" 2>/dev/null
    rc=$?
    check_eq "$how: the sandbox's status" "$(case $how in exit) echo 3 ;; *) echo 137 ;; esac)" "$rc"
    for ((i = 0; i < 50; i++)); do
        left=$(alive <<<"$procs")
        [[ -z $left ]] && break
        sleep 0.1
    done
    check_eq "$how: no process of the run is left" "" "$left"
    check_host "$how"
}

existed_before=()
for p in /etc/sysconfig/powersave /etc/init.d/powersaved /opt/nexalt /proc/H8; do
    [[ -e $p ]] && existed_before+=("$p")
done

check_host() { # label
    local found p
    # shellcheck disable=SC2086 # a list of folders
    found=$(find /etc /opt /tmp /var/tmp /dev/shm "$HOME" -maxdepth 4 -name "*$marker*" \
        ! -path "$keep" 2>/dev/null
        find $system_dirs $today_dirs -maxdepth 1 -name "*$marker*" 2>/dev/null)
    check_eq "$1: no file of the run on the machine" "" "$found"
    check_eq "$1: the deleted file is unchanged" "$keep_sum" "$(sha256sum "$keep" 2>&1)"
    for p in /etc/sysconfig/powersave /etc/init.d/powersaved /opt/nexalt /proc/H8; do
        [[ " ${existed_before[*]} " == *" $p "* ]] && continue
        check "$1: no $p" test ! -e "$p"
    done
    check_eq "$1: nothing of the sandbox in /dev/shm" "" "$(find /dev/shm -maxdepth 1 -name '*laptop*')"
    check_eq "$1: the services' state under /var/lib is unchanged" "$service_state_before" "$(service_state)"
}

run_and_end exit
run_and_end killed
run_and_end sandbox-killed
if ((EUID == 0)); then
    run_and_end exit --overlay-system
    run_and_end sandbox-killed --overlay-system
    run_and_end sandbox-killed --today
fi
finish
