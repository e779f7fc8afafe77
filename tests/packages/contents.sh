#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# What the Debian packages of both builds hold and need: each package's files
# (no path in two packages), its dependencies, a licence in every package, a
# manual page and desktop entries that their tools accept, and no library
# path into the build tree.  contents.sh PACKAGES_DIR SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/../support/checks.sh"
packages=$1 source=$2
lib=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

deb_of() { # package
    find "$packages" -name "$1_*.deb" | head -1
}
# The files (and links) of a package, without its folders, licence and
# change log.
files_of() { # package
    dpkg-deb -c "$(deb_of "$1")" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' |
        grep -vE "^usr/share/doc/$1/(copyright|changelog\.Debian\.gz)\$" | sort | paste -sd' '
}

expect_files() { # package files...
    local deb
    deb=$(deb_of "$1")
    if [[ -z $deb ]]; then
        fail "no package $1 in $packages"
        return
    fi
    check_eq "$1: its files" "$(printf '%s\n' "${@:2}" | sort | paste -sd' ')" "$(files_of "$1")"
    local doc
    for doc in copyright changelog.Debian.gz; do
        dpkg-deb -c "$deb" | grep " \./usr/share/doc/$1/$doc\$" >/dev/null &&
            echo "ok: $1: its $doc" || fail "$1: no usr/share/doc/$1/$doc"
    done
}

expect_files schemepop usr/bin/schemepop usr/share/applications/schemepop.desktop \
    usr/share/man/man1/schemepop.1.gz
expect_files ovra-switch-scheme usr/libexec/ovra/ovra-switch-scheme \
    usr/share/polkit-1/actions/org.nexalt.ovra.switch-scheme.policy
expect_files libovradesktop1 "$lib/libovradesktop.so.1" "$lib/libovradesktop.so.1.0.0"
expect_files ovraapplet "$lib/ovra/applets/libovraapplet.so.1"
expect_files ovraapplet-common usr/share/ovra/applets/ovraapplet.desktop \
    usr/share/locale/de/LC_MESSAGES/OvraIface.mo
expect_files panelhost usr/bin/panelhost usr/share/applications/panelhost.desktop \
    usr/share/man/man1/panelhost.1.gz
expect_files dcop usr/bin/dcop usr/share/man/man1/dcop.1.gz
expect_files libovradesktop-qt5-1 "$lib/libovradesktop-qt5.so.1" "$lib/libovradesktop-qt5.so.1.0.0"
expect_files ovraapplet-qt5 "$lib/ovra/qt5/applets/libovraapplet.so.1"
expect_files ovra-lxqt-plugin "$lib/lxqt-panel/libovra.so" usr/share/lxqt/lxqt-panel/ovra.desktop

# No file is in two packages: dpkg would refuse to install the second.
shared=$(for deb in "$packages"/*/*.deb; do
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }'
done | sort | uniq -d)
check_eq "no file in two packages" "" "$shared"

field() { dpkg-deb -f "$(deb_of "$1")" "$2"; }
# Each dependency named is in the package's Depends, as a whole entry.
expect_depends() { # package dependency...
    local depends d missing=()
    depends=", $(field "$1" Depends),"
    for d in "${@:2}"; do
        [[ $depends == *", $d"[,\ ]* ]] || missing+=("$d")
    done
    check_eq "$1: depends on ${*:2}" "" "${missing[*]}"
}
version=$(field schemepop Version)
expect_depends schemepop libc6 libqt6core6 libqt6gui6 libqt6widgets6 "ovraapplet-common (= $version)"
expect_depends ovra-switch-scheme libc6 pkexec polkitd
expect_depends libovradesktop1 libqt6core6 libqt6dbus6 libqt6widgets6
expect_depends ovraapplet "libovradesktop1 (= $version)" "ovraapplet-common (= $version)" \
    libqt6widgets6
expect_depends panelhost "libovradesktop1 (= $version)" libqt6widgets6
expect_depends dcop "libovradesktop1 (= $version)" libqt6dbus6
expect_depends libovradesktop-qt5-1 libqt5core5a libqt5dbus5 libqt5widgets5
expect_depends ovraapplet-qt5 "libovradesktop-qt5-1 (= $version)" \
    "ovraapplet-common (= $version)" libqt5widgets5
expect_depends ovra-lxqt-plugin "libovradesktop-qt5-1 (= $version)" \
    "ovraapplet-qt5 (= $version)" "lxqt-panel" libqt5widgets5
check_eq "ovraapplet-common: for every architecture" all "$(field ovraapplet-common Architecture)"
check_eq "ovraapplet-common: depends on nothing" "" "$(field ovraapplet-common Depends)"
# The helper only where the daemon's file is; UPower and power-profiles-daemon elsewhere.
for package in schemepop ovraapplet ovraapplet-qt5; do
    check_eq "$package: recommends the helper and today's services" \
        "ovra-switch-scheme (= $version), upower, power-profiles-daemon" \
        "$(field $package Recommends)"
    [[ $(field $package Depends) != *ovra-switch-scheme* ]] &&
        echo "ok: $package: does not depend on the helper" ||
        fail "$package: depends on the helper"
done
check_eq "panelhost: recommends the applet" ovraapplet "$(field panelhost Recommends)"
# Every description: a summary and whole sentences below it.
for deb in "$packages"/*/*.deb; do
    description=$(dpkg-deb -f "$deb" Description)
    name=$(dpkg-deb -f "$deb" Package)
    [[ $(wc -l <<<"$description") -ge 2 && $description == *. && $description != *[\;\"]* ]] &&
        echo "ok: $name: its description" || fail "$name: description '$description'"
done
for library in libovradesktop1:libovradesktop libovradesktop-qt5-1:libovradesktop-qt5; do
    check_eq "${library%%:*}: its shlibs entry" "${library#*:} 1 ${library%%:*} (>= $version)" \
        "$(dpkg-deb -I "$(deb_of "${library%%:*}")" shlibs 2>&1)"
    check_eq "${library%%:*}: renews the linker cache" "activate-noawait ldconfig" \
        "$(dpkg-deb -I "$(deb_of "${library%%:*}")" triggers 2>&1)"
done

# Unpacked: the manual page, the desktop entries and the libraries' paths.
for deb in "$packages"/*/*.deb; do
    dpkg-deb -x "$deb" "$work/root"
done
for page in popup/schemepop.1 desktop/panelhost/panelhost.1 desktop/dcop/dcop.1; do
    name=${page##*/}
    packaged=$work/root/usr/share/man/man1/$name.gz
    warnings=$(zcat "$packaged" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
    check_eq "$name formats without warnings" "" "$warnings"
    cmp -s <(zcat "$packaged") "$source/$page" && echo "ok: $name is the source's" ||
        fail "the packaged $name differs from $page"
done
check_eq "the manual page's name line" "schemepop - choose the power scheme of the power source in use" \
    "$(zcat "$work/root/usr/share/man/man1/schemepop.1.gz" | sed -n '/^\.SH NAME/{n;s/\\-/-/;p}')"
for entry in schemepop panelhost; do
    out=$(desktop-file-validate "$work/root/usr/share/applications/$entry.desktop" 2>&1)
    check_eq "$entry.desktop is valid" "" "$out"
done
check_eq "schemepop.desktop starts the program" "Exec=schemepop" \
    "$(grep '^Exec=' "$work/root/usr/share/applications/schemepop.desktop")"
build_paths=$(find "$work/root" -type f \( -name '*.so*' -o -path '*/bin/*' \) -exec readelf -d {} + 2>/dev/null |
    grep -E 'RPATH|RUNPATH' | grep -F "$source")
check_eq "no library path into the build tree" "" "$build_paths"
finish
