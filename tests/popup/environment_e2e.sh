#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The commands run with the environment the program was started with, not
# with the one it gave itself to keep the toolkit from scaling.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

for program in /etc/init.d/powersaved /opt/nexalt/pm/idletime.sh; do
    mkdir -p "$WORK/real"
    mv "$program" "$WORK/real/${program##*/}"
    printf '#!/bin/bash
env | grep ^QT_ | sort >%q
exec %q "$@"
' \
        "$WORK/${program##*/}.env" "$WORK/real/${program##*/}" >"$program"
    chmod 755 "$program"
done
# Some of the variables that the program changes are set, some not.
started=(-u QT_ENABLE_HIGHDPI_SCALING -u QT_SCREEN_SCALE_FACTORS
    QT_SCALE_FACTOR=2 QT_USE_PHYSICAL_DPI=1 QT_DEVICE_PIXEL_RATIO=)
env "${started[@]}" env | grep ^QT_ | sort >"$WORK/expected.env"
start_popup one "${started[@]}"
wait_popup one
check_window
click_row presentation
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
check_common presentation powersave
for program in powersaved idletime.sh; do
    [[ -f $WORK/$program.env ]] || fail_now "$program did not run"
    diff "$WORK/expected.env" "$WORK/$program.env" >&2 ||
        fail_now "$program ran with another environment"
done
finish
