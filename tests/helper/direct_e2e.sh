#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The switch helper called directly as root, with what a hostile or careless
# caller could pass it: anything but a key, a listed scheme with a safe name
# and known rules is refused and changes nothing. What it accepts, it
# switches by the rules of the program that asked, keeping the file's owner
# and mode, through a held lock, in a clean environment.
# Argument: the helper.
set -u
. "$(dirname "$0")/../support/checks.sh"
helper=$1
config=/etc/sysconfig/powersave/common
calls=$LAPTOP_DIR/calls.log
before=$(mktemp)
out=$(mktemp)

run_helper() { # ARGS...: sets status; the report goes to $out
    status=0
    timeout 60 "$helper" "$@" >"$out" || status=$?
}
commands() { cut -f2,3,5 "$calls" | tr '\t' ' ' | paste -sd'|'; }

refuses() { # WHAT ARGS...
    local what=$1
    shift
    cp "$config" "$before"
    : >"$calls"
    run_helper "$@"
    if [[ $status == 3 && $(head -c8 "$out") == $'refused\t' ]] && cmp -s "$before" "$config" &&
        [[ ! -s $calls ]]; then
        echo "ok: refuses $what"
    else
        fail "$what: status $status, report '$(cat "$out")', calls '$(commands)'"
    fi
}

touch "/etc/sysconfig/powersave/scheme_a b" "/opt/nexalt/pm/scheme/scheme_a b"
touch '/etc/sysconfig/powersave/scheme_x;id' '/opt/nexalt/pm/scheme/scheme_x;id'
ln -s scheme_powersave /opt/nexalt/pm/scheme/scheme_linked
ln -s scheme_powersave /etc/sysconfig/powersave/scheme_linked
refuses "no arguments"
refuses "an extra argument" popup AC_SCHEME powersave extra
refuses "unknown rules" kde AC_SCHEME powersave
refuses "another key" popup POWERSAVE_DEBUG_SYSLOG powersave
refuses "a name only the daemon's folder holds" popup AC_SCHEME acoustic
refuses "a name only the product's folder holds, by the popup's rules" popup AC_SCHEME nexalt_quiet
refuses "a name with a slash" applet AC_SCHEME ../scheme/scheme_powersave
refuses "the name .." applet BATTERY_SCHEME ..
refuses "a name with a blank" popup AC_SCHEME "a b"
refuses "a name with a semicolon" popup AC_SCHEME "x;id"
refuses "an empty name" applet AC_SCHEME ""
refuses "a linked scheme file, by the applet's rules" applet AC_SCHEME linked

# Accepted: only the key's value changes; the popup's commands, as root.
chown 65534:65534 "$config"
chmod 640 "$config"
cp "$config" "$before"
: >"$calls"
run_helper popup AC_SCHEME powersave
check_eq "the popup's switch is applied" "0" "$status"
check_eq "its report" "saved	yes|commands	ran|accepted	yes" "$(paste -sd'|' "$out")"
check_eq "only the key's line changes" \
    "$(sed 's/^AC_SCHEME="performance"$/AC_SCHEME="powersave"/' "$before")" "$(cat "$config")"
check_eq "the popup's commands, as root" \
    "0 0 /etc/init.d/powersaved reload &>/dev/null|0 0 /opt/nexalt/pm/idletime.sh restart &> /dev/null" \
    "$(commands)"
check_eq "owner and mode kept" "65534 65534 640" "$(stat -c '%u %g %a' "$config")"

# The applet's rules: a scheme of the product's folder alone, its commands.
: >"$calls"
run_helper applet BATTERY_SCHEME nexalt_quiet
check_eq "the applet's switch is applied" "0" "$status"
check_eq "BATTERY_SCHEME set" 'BATTERY_SCHEME="nexalt_quiet"' "$(grep '^BATTERY_SCHEME=' "$config")"
check_eq "the applet's commands, as root" \
    "0 0 /etc/init.d/powersave reload &>/dev/null|0 0 /opt/nexalt/pm/idletime.sh restart &>/dev/null" \
    "$(commands)"

# A lock held by another user on the file does not hold the switch up.
setpriv --reuid=65534 --regid=65534 --clear-groups -- flock -s "$config" sleep 300 &
locker=$!
"$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
"$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
: >"$calls"
run_helper popup AC_SCHEME presentation
kill "$locker"
check_eq "through a held lock, a refused reload and start: not applied" "1" "$status"
check_eq "the start follows the refused reload" \
    "/etc/init.d/powersaved reload &>/dev/null|/etc/init.d/powersaved start &>/dev/null|/opt/nexalt/pm/idletime.sh restart &> /dev/null" \
    "$(cut -f5 "$calls" | paste -sd'|')"
"$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=0
"$LAPTOP_SRC/standin-behaviour" powersaved.start exit=0

# The caller's environment never reaches the shell that runs the commands.
printf 'touch /tmp/environment-ran\n' >/tmp/environment.sh
BASH_ENV=/tmp/environment.sh ENV=/tmp/environment.sh PATH="/tmp:$PATH" run_helper popup AC_SCHEME performance
check_eq "switched with a hostile environment" "0" "$status"
[[ ! -e /tmp/environment-ran ]] && echo "ok: the caller's environment was not used" ||
    fail "the caller's BASH_ENV ran as root"

# No key line: nothing is added; the popup's commands run all the same. A
# missing file: by the popup's rules no command runs, by the applet's they do.
grep -v '^AC_SCHEME=' "$config" >"$before" && cat "$before" >"$config"
: >"$calls"
run_helper popup AC_SCHEME powersave
check_eq "no key line: not saved" "2" "$status"
check_eq "no key line: the file is unchanged" "" "$(cmp "$before" "$config")"
check_eq "no key line: the commands ran" "2" "$(wc -l <"$calls")"
rm "$config"
: >"$calls"
run_helper popup BATTERY_SCHEME powersave
check_eq "missing file, popup: not saved" "2" "$status"
check_eq "missing file, popup: no command" "" "$(commands)"
[[ ! -e $config ]] && echo "ok: the missing file is not created" || fail "the file was created"
run_helper applet BATTERY_SCHEME powersave
check_eq "missing file, applet: the commands run" "2" "$(wc -l <"$calls")"
finish
