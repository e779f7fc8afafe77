#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian packages of both builds on the simulated laptop, whose /usr,
# /var and /etc are overlays (laptop/sandbox --x11 --overlay-system): dpkg
# installs them all at once; the installed schemepop shows its window and
# switches a scheme; the installed panelhost and lxqt-panel load the installed
# applet from the installed folders; then dpkg purges them, and the machine's
# files are those of before: every file the run added, removed or changed in
# the overlays (their upper layers) was there before, as it was.
#   dpkg-roundtrip.sh PACKAGES_DIR SOURCE_DIR SCREENPROBE
set -uo pipefail
packages=$1 source=$2
lib=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
. "$source/tests/support/panel.sh" lxqt "$lib/lxqt-panel" /usr/share/lxqt/lxqt-panel /usr/bin/dcop "$3"
# lxqt-panel is to find the plugin in its own folders.
unset LXQTPANEL_PLUGIN_PATH LXQT_PANEL_PLUGINS_DIR
# dpkg runs ldconfig and the triggers of the installed system.
export PATH=$PATH:/usr/local/sbin:/usr/sbin:/sbin
names=(schemepop ovra-switch-scheme libovradesktop1 ovraapplet ovraapplet-common panelhost dcop
    libovradesktop-qt5-1 ovraapplet-qt5 ovra-lxqt-plugin)

# Every file, link and folder of the system's trees: path, tab, type, owner
# and mode; the dpkg log, the status file's backups and the daemon's
# configuration (the popup rewrites it) change by design.
unchecked='^-?(/var/log/|/var/lib/dpkg/(status|diversions|statoverride)-old$|/etc/sysconfig/powersave/common$)'
system_files() {
    find /usr /etc /opt /var -xdev -path /var/tmp -prune -o -printf '%p\t%y %u:%g %m\n' |
        grep -Ev "${unchecked//\$/$'\t'}" | sort
}
# The paths the run changed in the overlays, "-" before those it removed
# (whiteouts); the rest of the trees is the real machine's, which other
# programs may change meanwhile.
changed_paths() {
    local tree
    for tree in etc opt usr var; do
        [[ -d $LAPTOP_CHANGES/$tree.up ]] || continue
        find "$LAPTOP_CHANGES/$tree.up" -mindepth 1 \( -type c -printf "-/$tree/%P\n" \) -o \
            -printf "/$tree/%P\n"
    done | grep -Ev "$unchecked" | sort
}
# What the run left: each changed path that was not there before, or not so.
left_behind() { # before-listing-file
    system_files >"$work/now" && changed_paths >"$work/changed" || {
        echo "the listings failed"
        return
    }
    awk -F'\t' '
        FILENAME == ARGV[1] { was[$1] = $2; next }
        FILENAME == ARGV[2] { is[$1] = $2; next }
        /^-/ { print "removed " substr($0, 2); next }
        !($0 in was) { print "new " $0; next }
        was[$0] != is[$0] { print "changed " $0 ": " was[$0] " -> " is[$0] }' \
        "$1" "$work/now" "$work/changed" || echo "the comparison failed"
}
installed() { # package
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}
# The project's files that process PID has mapped: "name folder" lines.
mapped_files() { # pid
    awk '$6 ~ /ovra|Ovra/ { print $6 }' "/proc/$1/maps" | sort -u |
        while read -r path; do echo "${path##*/} ${path%/*}"; done | sort -f | paste -sd' '
}

work=$(mktemp -d)
[[ -n $(find /usr /etc /var/lib/dpkg/info -name 'libovradesktop*' -o -name 'schemepop*' \
    -o -name 'ovraapplet*' 2>/dev/null) ]] && fail "the project is installed on the machine already"
system_files >"$work/before"
mapfile -t debs < <(find "$packages" -name '*.deb' | sort)
check_eq "the packages to install" 10 "${#debs[@]}"
if dpkg -i "${debs[@]}" >"$shots/dpkg-install.log" 2>&1; then
    echo "ok: dpkg installs all ten"
else
    fail "dpkg -i: $(cat "$shots/dpkg-install.log")"
fi
for name in "${names[@]}"; do
    installed "$name" || fail "$name is not installed"
done

# The installed popup: its window, a click on a scheme, the daemon reloaded.
check_eq "schemepop on the path" /usr/bin/schemepop "$(command -v schemepop)"
: >"$calls"
if "$source/tests/popup/mains_e2e.sh" /usr/bin/schemepop >"$shots/popup.log" 2>&1; then
    echo "ok: the installed schemepop shows its window and switches the scheme"
else
    fail "the installed schemepop: $(cat "$shots/popup.log")"
fi
check_eq "its manual page" /usr/share/man/man1/schemepop.1.gz "$(man -w schemepop 2>&1)"
# The installed switch helper and the polkit action that names it.
helper_report=$(/usr/libexec/ovra/ovra-switch-scheme 2>&1)
check_eq "the installed helper refuses a call without arguments" "3 refused" \
    "$? ${helper_report%%$'\t'*}"
check_eq "the polkit action names the installed helper" /usr/libexec/ovra/ovra-switch-scheme \
    "$(sed -n 's|.*"org.freedesktop.policykit.exec.path">\(.*\)</annotate>.*|\1|p' \
        /usr/share/polkit-1/actions/org.nexalt.ovra.switch-scheme.policy)"

# The installed panelhost with the installed applet and catalogue.
LANGUAGE=de panelhost --applet ovraapplet.desktop >"$shots/panelhost.log" 2>&1 &
host_pid=$!
check_eq "panelhost holds the applet" OvraIface "$(wait_for_output 20 OvraIface dcop panelhost)"
check_eq "the files panelhost uses" \
    "libovraapplet.so.1 $lib/ovra/applets libovradesktop.so.1.0.0 $lib OvraIface.mo /usr/share/locale/de/LC_MESSAGES" \
    "$(mapped_files "$host_pid")"
kill "$host_pid"
wait "$host_pid" 2>/dev/null

# lxqt-panel with the installed plugin, which finds the Qt 5 applet.
write_config Bottom 40
LANGUAGE=de start_panel
check_eq "lxqt-panel holds the applet" OvraIface "$(wait_for_object 20 OvraIface)"
check_eq "the gauge in lxqt-panel" "width=150" "$(wait_for_output 10 width=150 gauge_width lxqt-installed)"
check_eq "the files lxqt-panel uses" \
    "libovra.so $lib/lxqt-panel libovraapplet.so.1 $lib/ovra/qt5/applets libovradesktop-qt5.so.1.0.0 $lib OvraIface.mo /usr/share/locale/de/LC_MESSAGES" \
    "$(mapped_files "$panel_pid")"
stop_panel

if dpkg --purge "${names[@]}" >"$shots/dpkg-purge.log" 2>&1; then
    echo "ok: dpkg purges all ten"
else
    fail "dpkg --purge: $(cat "$shots/dpkg-purge.log")"
fi
for name in "${names[@]}"; do
    installed "$name" && fail "$name is still installed"
done
check_eq "nothing of the packages is left" "" "$(left_behind "$work/before")"
for deb in "${debs[@]}"; do
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) }'
done >"$work/packaged"
check_eq "no packaged file exists" "" "$(while read -r f; do [[ -e $f || -L $f ]] && echo "$f"; done <"$work/packaged")"
end_test
