#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The switch helper as an ordinary user meets it, through pkexec with
# polkitd granting the switch: whatever the caller's process carries
# (resource limits, nice value, blocked and ignored signals, `ulimit -f 0`)
# stops at the helper, whose commands start as init would start them; the
# file keeps its ACL and extended attributes; a temporary file that a
# killed switch left is cleaned at the next switch; a reload that hangs is
# ended at its bound with what it started. The script runs as root and
# starts each caller as that user.
# Argument: the user's id.
set -u
. "$(dirname "$0")/../support/checks.sh"
user=$1
helper=/usr/libexec/ovra/ovra-switch-scheme
config=/etc/sysconfig/powersave/common
folder=/etc/sysconfig/powersave
out=$(mktemp)
chmod 666 "$out"

as_user() { # SHELL-COMMAND: run by the user, the report in $out; sets status
    # Through a pipe, as the programs read the report.
    timeout 120 setpriv --reuid="$user" --regid="$user" --clear-groups -- \
        bash -c "$1" 2>/dev/null | cat >"$out"
    status=${PIPESTATUS[0]}
}
key() { grep "^$1=" "$config"; }
temporaries() { find "$folder" -maxdepth 1 -name '.common.*' ! -name .common.lock | sort; }
# "soft hard" of a limit in /proc/PID/limits, e.g. "Max file size".
limit() { grep "^$2 " "/proc/$1/limits" | awk '{ print $(NF - 2), $(NF - 1) }'; }
status_field() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"; }
nice_of() { sed 's/^.*) //' "/proc/$1/stat" | cut -d' ' -f17; }

# Root raises a hard limit only with CAP_SYS_RESOURCE, which a container
# may withhold even from root: there the caller lowers the soft limits only,
# which the helper may raise again.
limits=
files_hard=524288
if (((0x$(awk '$1 == "CapEff:" { print $2 }' /proc/self/status) >> 24) & 1)); then
    echo "root may raise hard limits: the caller lowers both"
else
    limits=-S
    files_hard=$(ulimit -Hn)
    [[ $files_hard != unlimited ]] && ((files_hard < 524288)) || files_hard=524288
    echo "root may not raise hard limits here: the caller lowers the soft ones"
fi

# The caller's oddities: CPU 5 s, file size 4 MiB, 16 open files, nice 10,
# SIGHUP and SIGTERM blocked, SIGINT and SIGQUIT ignored.
"$LAPTOP_SRC/standin-behaviour" powersaved.reload delay=4.5
as_user "ulimit $limits -t 5 -f 4096 -n 16; trap '' INT QUIT
    exec nice -n 10 perl -e 'use POSIX; sigprocmask(SIG_BLOCK, POSIX::SigSet->new(SIGHUP, SIGTERM)); exec @ARGV' \
        /usr/bin/pkexec $helper popup AC_SCHEME powersave" &
caller=$!
sleeper() { pgrep -f '^sleep 4.5$'; }
wait_until 30 sleeper || fail_now "the reload did not start"
command=$(sleeper)
switch=$(pgrep -f "^$helper popup AC_SCHEME powersave$")
for pid in "$switch" "$command"; do
    what="the helper"
    [[ $pid == "$command" ]] && what="what the reload starts"
    check_eq "$what: no CPU limit" "unlimited unlimited" "$(limit "$pid" "Max cpu time")"
    check_eq "$what: no file size limit" "unlimited unlimited" "$(limit "$pid" "Max file size")"
    check_eq "$what: a service's open files" "1024 $files_hard" "$(limit "$pid" "Max open files")"
    check_eq "$what: nice 0" "0" "$(nice_of "$pid")"
    check_eq "$what: no signal blocked" "0000000000000000" "$(status_field "$pid" SigBlk)"
    check_eq "$what: no signal ignored" "0000000000000000" "$(status_field "$pid" SigIgn)"
done
wait "$caller"
check_eq "switched all the same" "saved	yes|commands	ran|accepted	yes" "$(paste -sd'|' "$out")"
"$LAPTOP_SRC/standin-behaviour" powersaved.reload delay=0

# A caller's `ulimit -f 0` no longer kills the helper half way through its
# write, which left a temporary file of root's each time.
as_user "ulimit $limits -f 0; /usr/bin/pkexec $helper popup AC_SCHEME presentation"
check_eq "ulimit -f 0: switched" "0 saved	yes" "$status $(head -1 "$out")"
check_eq "ulimit -f 0: the key set" 'AC_SCHEME="presentation"' "$(key AC_SCHEME)"
check_eq "ulimit -f 0: no temporary file left" "" "$(temporaries)"

# What a killed switch left (a temporary file of root's, named as the switch
# names them) goes at the next switch; what only looks like one stays.
printf 'AC_SCHEME="cut' >"$folder/.common.ovra-new.Ab3xY9"
printf 'kept' >"$folder/.common.backup"
as_user "/usr/bin/pkexec $helper applet BATTERY_SCHEME nexalt_quiet"
check_eq "after a killed switch: switched" "0" "$status"
check_eq "the killed switch's file is gone, the other stays" "$folder/.common.backup" \
    "$(temporaries)"
rm "$folder/.common.backup"

# The file's ACL and extended attributes outlive the switch, as they
# outlive an editor's.
setfacl -m u:nobody:r "$config"
setfattr -n user.origin -v "the administrator" "$config"
acl_before=$(getfacl -c "$config" 2>/dev/null)
owner_before=$(stat -c '%u %g %a' "$config")
inode_before=$(stat -c %i "$config")
as_user "/usr/bin/pkexec $helper popup AC_SCHEME performance"
check_eq "with an ACL: switched" "0 performance" "$status $(key AC_SCHEME | cut -d'"' -f2)"
[[ $(stat -c %i "$config") != "$inode_before" ]] && pass "a new file replaced the old one" ||
    fail "the file was not replaced"
check_eq "the ACL kept" "$acl_before" "$(getfacl -c "$config" 2>/dev/null)"
check_eq "the attribute kept" '"the administrator"' \
    "$(getfattr --only-values -n user.origin "$config" 2>/dev/null | sed 's/.*/"&"/')"
check_eq "owner and mode kept" "$owner_before" "$(stat -c '%u %g %a' "$config")"

# A reload that hangs: ended at its 30 s bound with what it started; the
# start follows as after any failed reload, and the report says which
# command was ended.
"$LAPTOP_SRC/standin-behaviour" powersaved.reload delay=100
started=$SECONDS
as_user "/usr/bin/pkexec $helper popup AC_SCHEME presentation"
took=$((SECONDS - started))
((took >= 29 && took <= 40)) && pass "the helper ended after the bound ($took s)" ||
    fail "the helper took $took s"
check_eq "the hung reload's report" \
    "saved	yes|commands	ran|still-running	/etc/init.d/powersaved reload &>/dev/null|accepted	yes" \
    "$(paste -sd'|' "$out")"
check_eq "nothing of the reload left running" "" "$(pgrep -af 'powersaved reload|sleep 100')"
finish
