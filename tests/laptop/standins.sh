#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Stand-ins of the simulated laptop log every call and return what the test
# told them. Runs inside laptop/sandbox.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
log=$LAPTOP_DIR/calls.log
behave=$LAPTOP_SRC/standin-behaviour

# The one line of the call log that a command produced, after emptying the log.
logged() {
    : >"$log"
    "$@"
    cat "$log"
}

T=$'\t'
check_every_standin_logs() {
    local p base
    for p in /etc/init.d/powersaved /etc/init.d/powersave /opt/nexalt/pm/pm.sh \
        /opt/nexalt/pm/idletime.sh /opt/nexalt/pm/ovra.sh insmod kdialog; do
        check_eq "$p logs its name and arguments" \
            "$p${T}0${T}0${T}0${T}${T}a b${T}${T}c" "$(logged "$p" "a b" "" c)"
    done
    base=$(command -v insmod)
    check_eq "insmod is logged by bare name also when called by path" \
        "insmod${T}0${T}0${T}0${T}${T}x" "$(logged "$base" x)"
}

check_exit_codes() {
    "$behave" powersaved.reload exit=1
    check_eq "NAME.ARG1 setting: the reload fails" 1 "$(/etc/init.d/powersaved reload; echo $?)"
    check_eq "NAME.ARG1 setting leaves other first arguments alone" 0 \
        "$(/etc/init.d/powersaved start; echo $?)"
    check_match "the log records the exit code returned" "${T}1${T}${T}reload\$" "$(logged /etc/init.d/powersaved reload)"
    "$behave" powersaved exit=7
    check_eq "NAME setting applies to every call" 7 "$(/etc/init.d/powersaved start; echo $?)"
    check_eq "NAME.ARG1 setting wins over NAME" 1 "$(/etc/init.d/powersaved reload; echo $?)"
    "$behave" powersaved.reload
    "$behave" powersaved
    check_eq "a setting without values restores the defaults" 0 \
        "$(/etc/init.d/powersaved reload; echo $?)"
    check "a bad setting is refused" bash -c "! '$behave' pm.sh exit=x 2>/dev/null"
    check "a name with a slash is refused" bash -c "! '$behave' ../pm.sh exit=1 2>/dev/null"
}

check_delay() {
    "$behave" pm.sh delay=1.5 exit=3
    local start=$EPOCHREALTIME rc took
    /opt/nexalt/pm/pm.sh
    rc=$?
    took=$(elapsed "$start")
    check_eq "a delayed stand-in returns its code" 3 "$rc"
    check "pm.sh delay=1.5 takes 1.5 s (took $took s)" awk "BEGIN { exit !($took >= 1.5 && $took < 5) }"
    "$behave" pm.sh
}

check_user_ids() {
    if in_user_namespace; then
        skip "other user ids: only root is mapped into the sandbox"
        return
    fi
    check_match "root calls log uid 0 0" "^/opt/nexalt/pm/ovra.sh${T}0${T}0${T}" \
        "$(logged /opt/nexalt/pm/ovra.sh)"
    check_match "a user's call logs its ids" "^/opt/nexalt/pm/ovra.sh${T}65534${T}65534${T}" \
        "$(logged setpriv --reuid=65534 --regid=65534 --clear-groups /opt/nexalt/pm/ovra.sh)"
    check_match "a set-user-id caller logs real 65534, effective 0" \
        "^/opt/nexalt/pm/ovra.sh${T}65534${T}0${T}" \
        "$(logged setpriv --ruid=65534 --euid=0 /opt/nexalt/pm/ovra.sh)"
    check_match "insmod run by a user fails as the real one does" "^insmod${T}65534${T}65534${T}1${T}" \
        "$(logged setpriv --reuid=65534 --regid=65534 --clear-groups insmod /opt/nexalt/install/batinfo.ko 2>/dev/null)"
}

check_shell_command_field() {
    local c
    c='/etc/init.d/powersaved reload'
    check_eq "sh -c with one command (bash replaces itself with it)" \
        "/etc/init.d/powersaved${T}0${T}0${T}0${T}$c${T}reload" "$(logged sh -c "$c")"
    c='/etc/init.d/powersaved reload &>/dev/null; /opt/nexalt/pm/idletime.sh restart &> /dev/null'
    check_eq "sh -c with two commands: both carry the whole text" \
        "/etc/init.d/powersaved${T}0${T}0${T}0${T}$c${T}reload
/opt/nexalt/pm/idletime.sh${T}0${T}0${T}0${T}$c${T}restart" "$(logged sh -c "$c")"
    check_eq "a direct call has an empty shell command" \
        "/opt/nexalt/pm/pm.sh${T}0${T}0${T}0${T}" "$(logged /opt/nexalt/pm/pm.sh)"
    check_eq "a program started by a shell's child is not the shell's" \
        "/opt/nexalt/pm/pm.sh${T}0${T}0${T}0${T}" \
        "$(logged sh -c 'timeout 10 /opt/nexalt/pm/pm.sh; true')"
    c='/opt/nexalt/pm/pm.sh 2>&1 | cat >/dev/null'
    check_eq "a pipeline's element carries the text" \
        "/opt/nexalt/pm/pm.sh${T}0${T}0${T}0${T}$c" "$(logged sh -c "$c")"
    check_eq "a stand-in logs also with an empty environment" \
        "/opt/nexalt/pm/pm.sh${T}0${T}0${T}0${T}${T}x" "$(logged env -i /opt/nexalt/pm/pm.sh x)"
}

check_escaping() {
    local msg c
    msg=$'You have not installed battery module\nExit Program!'
    c="kdialog --title ovraapplet --error '$msg'"
    check_eq "a line break in an argument and in the shell command is logged as \\n" \
        "kdialog${T}0${T}0${T}0${T}kdialog --title ovraapplet --error 'You have not installed battery module\\nExit Program!'${T}--title${T}ovraapplet${T}--error${T}You have not installed battery module\\nExit Program!" \
        "$(logged sh -c "$c")"
    check_eq "tab and backslash are escaped; a literal \\n stays apart from a line break" \
        "kdialog${T}0${T}0${T}0${T}${T}a\\tb${T}c\\\\d${T}e\\\\nf" \
        "$(logged kdialog "a${T}b" 'c\d' 'e\nf')"
}

check_parallel_calls() {
    : >"$log"
    local i
    for i in $(seq 1 20); do /opt/nexalt/pm/ovra.sh "$i" & done
    wait
    check_eq "20 calls at once leave 20 whole lines" 20 \
        "$(grep -c "^/opt/nexalt/pm/ovra.sh${T}0${T}0${T}0${T}${T}[0-9]*\$" "$log")"
}

check_every_standin_logs
check_exit_codes
check_delay
check_user_ids
check_shell_command_field
check_escaping
check_parallel_calls
finish
