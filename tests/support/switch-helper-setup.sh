#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the simulated laptop one where a user switches schemes through the
# switch helper: installs the build's helper and its polkit action where the
# package puts them, gives the user id a name if it has none, and adds the
# administrator's polkit rule that grants or denies that user the switch.
# For laptop/sandbox --overlay-system --setup, before --system-bus starts
# polkitd.
#   switch-helper-setup.sh HELPER POLICY UID grant|deny
set -euo pipefail
helper=${1:?usage: switch-helper-setup.sh HELPER POLICY UID grant|deny}
policy=${2:?} uid=${3:?} verdict=${4:?}
install -D -m 755 "$helper" /usr/libexec/ovra/ovra-switch-scheme
install -D -m 644 "$policy" "/usr/share/polkit-1/actions/${policy##*/}"
name=$(getent passwd "$uid" | cut -d: -f1 || true)
if [[ -z $name ]]; then
    name=ovrauser
    echo "$name:x:$uid:$uid:Ovra test user:/nonexistent:/bin/bash" >>/etc/passwd
    echo "$name:x:$uid:" >>/etc/group
fi
case $verdict in
grant) result=YES ;;
deny) result=NO ;;
*) echo "switch-helper-setup.sh: grant or deny, not $verdict" >&2; exit 2 ;;
esac
cat >/etc/polkit-1/rules.d/60-ovra-switch.rules <<RULES
polkit.addRule(function(action, subject) {
    if (action.id == "org.nexalt.ovra.switch-scheme" && subject.user == "$name") {
        return polkit.Result.$result;
    }
});
RULES
