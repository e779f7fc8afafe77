#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Two switches at once lose nothing: the popup's rules set AC_SCHEME while
# the applet's set BATTERY_SCHEME, over and over, on a 600 KiB file, each
# caller checking before every switch that the file still holds the name
# its last switch reported saved. Through pkexec (polkitd granting the
# ordinary user the switch) or, with "direct", root calling the helper
# itself.
# Arguments: pkexec|direct HELPER TIMES
set -u
. "$(dirname "$0")/../support/checks.sh"
how=$1 helper=$2 times=$3
config=/etc/sysconfig/powersave/common
results=$(mktemp -d)
chmod 777 "$results"

# The daemon's commands do nothing here, quickly: the race is over the file.
for command in /etc/init.d/powersaved /etc/init.d/powersave /opt/nexalt/pm/idletime.sh; do
    ln -sf /bin/true "$command"
done
# Comment lines make the file 600 KiB, so that each write takes a while.
yes '# padding: a comment line that the daemon and the switch pass over unread' |
    head -c 614400 >>"$config"

value() { # KEY FILE: the value of the first line assigning KEY, in $value
    local line
    value=
    while IFS= read -r line; do
        if [[ $line == "$1="* ]]; then
            line=${line#*=\"}
            value=${line%\"}
            return
        fi
    done <"$2"
}

# One caller: TIMES switches of KEY by RULES, alternating FIRST and SECOND.
# Before each switch the key must hold what the last saved switch set; each
# time it does not, a switch was lost (or reported saved but not saved).
# Writes "switches saved lost" to OUT.
caller() { # RULES KEY FIRST SECOND TIMES OUT HOW HELPER CONFIG
    local rules=$1 key=$2 first=$3 second=$4 times=$5 out=$6 how=$7 helper=$8 config=$9
    local last now name report value saved=0 lost=0 i
    value "$key" "$config"
    last=$value
    for ((i = 1; i <= times; i++)); do
        value "$key" "$config"
        now=$value
        [[ $now == "$last" ]] || {
            lost=$((lost + 1))
            last=$now
        }
        name=$first
        ((i % 2)) || name=$second
        if [[ $how == pkexec ]]; then
            report=$(/usr/bin/pkexec "$helper" "$rules" "$key" "$name" 2>/dev/null)
        else
            report=$("$helper" "$rules" "$key" "$name" 2>/dev/null)
        fi
        if [[ $report == *$'saved\tyes'* ]]; then
            last=$name
            saved=$((saved + 1))
        fi
    done
    value "$key" "$config"
    now=$value
    [[ $now == "$last" ]] || lost=$((lost + 1))
    echo "$times $saved $lost" >"$out"
}

run_caller() { # ARGS of caller
    if [[ $how == pkexec ]]; then
        setpriv --reuid=2742 --regid=2742 --clear-groups -- \
            bash -c "$(declare -f value caller); caller \"\$@\"" caller "$@"
    else
        caller "$@"
    fi
}

[[ $how == direct ]] || helper=/usr/libexec/ovra/ovra-switch-scheme
started=$SECONDS
run_caller popup AC_SCHEME powersave presentation "$times" "$results/ac" "$how" "$helper" "$config" &
run_caller applet BATTERY_SCHEME nexalt_quiet performance "$times" "$results/battery" "$how" \
    "$helper" "$config" &
wait
echo "two callers, $times switches each ($how): $((SECONDS - started)) s"
for side in ac battery; do
    read -r switches saved lost <"$results/$side" || fail_now "the $side caller gave no result"
    echo "$side: $switches switches, $saved reported saved, $lost lost"
    check_eq "$side: every switch saved" "$switches" "$saved"
    check_eq "$side: no switch lost" "0" "$lost"
done
leftovers=$(find /etc/sysconfig/powersave -maxdepth 1 -name '.common.*' ! -name .common.lock)
check_eq "no temporary file left" "" "$leftovers"
finish
