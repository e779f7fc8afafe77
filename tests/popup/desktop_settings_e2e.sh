#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# On a laptop of today, without the product's power manager, as an ordinary
# user: "Open Power Manager..." starts the desktop's own power settings, the
# first found on PATH (here LXQt's and, after it, GNOME's, both stand-ins that
# note their start), and the popup ends; the settings outlive it.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11 --today --user UID.
. "$(dirname "$0")/../support/popup.sh" "$@"

((EUID != 0)) || fail_now "runs as root"
[[ ! -e /opt/nexalt/pm/pm.sh ]] || fail_now "the product's power manager is installed"
mkdir "$WORK/bin"
for program in lxqt-config-powermanagement gnome-control-center; do
    printf '#!/bin/bash\necho "%s $* $EUID" >>"%s/started"\nsleep 2\necho ended >>"%s/started"\n' \
        "$program" "$WORK" "$WORK" >"$WORK/bin/$program"
    chmod +x "$WORK/bin/$program"
done

start_window_manager openbox --sm-disable
start_popup one PATH="$WORK/bin:$PATH"
wait_popup one
click_at 300 330 # "Open Power Manager..."
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
wait_until 10 grep -q ended "$WORK/started" || fail_now "the settings did not run to their end"
check_eq "LXQt's settings started once, by the user" \
    "lxqt-config-powermanagement  $EUID"$'\n'"ended" "$(cat "$WORK/started")"
finish
