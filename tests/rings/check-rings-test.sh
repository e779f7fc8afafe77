#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# tools/check-rings with the project's allow-list on a small made-up tree: a
# tree that keeps the rings passes every rule; each kind of violation, added
# alone, fails its rule with a line naming the file, and passes the other
# rules; every rule of the allow-list catches a planted violation of each
# kind; a folder the allow-list does not name fails.
#   check-rings-test.sh CHECK_RINGS
set -uo pipefail
check=${1:?usage: check-rings-test.sh CHECK_RINGS}
. "$(dirname "$0")/../support/checks.sh"
. "$(dirname "$0")/../support/madeuptree.sh"

# A tree that keeps the rings: lxqt/ uses the desktop library's host, applet/
# has a header named like one of common/'s, comments name what code may not,
# popup/ builds on forms/ and common/, desktop/ names a folder called like
# lxqt/'s target.
put common/UPMComm.h '#include <QString>'
put common/configfile.cpp '#include "UPMComm.h"' '#include <QFile>'
put common/CMakeLists.txt 'add_library(common STATIC configfile.cpp)' \
    'target_link_libraries(common PUBLIC Qt6::Core)'
put applet/comm.h '#pragma once'
put applet/schemeconfig.h '#pragma once'
put applet/pmapplet.cpp '#include "comm.h"' '#include "schemeconfig.h"' '#include <kpanelapplet.h>'
put applet/CMakeLists.txt '# not linked: common' 'add_library(ovraapplet SHARED pmapplet.cpp)' \
    'target_link_libraries(ovraapplet PUBLIC ovradesktop notify Qt6::Widgets)'
put desktop/ovradesktop/kde/kpanelapplet.h '#include <QFrame>'
put desktop/ovradesktop/host/appletcontainer.h '#include "kpanelapplet.h"'
put desktop/ovradesktop/CMakeLists.txt 'add_library(ovradesktop SHARED host/appletcontainer.cpp)'
put desktop/panelhost/panelwindow.h '#include "appletcontainer.h"'
put desktop/panelhost/CMakeLists.txt 'add_library(panelhostlib STATIC panelwindow.cpp)' \
    'add_executable(panelhost main.cpp)'
put lxqt/ovralxqtplugin.cpp '#include "appletcontainer.h"' '#include <ilxqtpanelplugin.h>'
put lxqt/CMakeLists.txt '# loads the applet as panelhost does' \
    'add_library(ovra MODULE ovralxqtplugin.cpp)' 'target_link_libraries(ovra PRIVATE ovradesktop)'
put popup/main.cpp '#include <QApplication>'
put popup/SchemepopBase.h '#include "tform.h"' '#include "UPMComm.h"'
put popup/CMakeLists.txt 'add_library(schemepopform STATIC SchemepopBase.cpp)' \
    'target_link_libraries(schemepopform PUBLIC forms common)'
put forms/tform.h '#include <QWidget>'
put forms/tform.cpp '#include "tform.h"'
put forms/CMakeLists.txt '# the popup (schemepopform) builds on it' \
    'add_library(forms STATIC tform.cpp)' 'target_link_libraries(forms PUBLIC Qt6::Widgets)'
put cmake/OvraPanelApplet.cmake 'set(plugindir ${CMAKE_INSTALL_LIBDIR}/ovra/applets)'
put lxqt/ovralxqtplugin.h '#include <ilxqtpanelplugin.h>'
put notify/desktopnotice.h '#include <QString>'
put notify/desktopnotice.cpp '#include "desktopnotice.h"' '#include <QDBusConnection>'
put notify/CMakeLists.txt 'add_library(notify STATIC desktopnotice.cpp)' \
    'target_link_libraries(notify PUBLIC Qt6::Core Qt6::DBus)'
put popup/noticereporting.cpp '#include "desktopnotice.h"' '#include "UPMComm.h"'
put applet/appletnotices.cpp '#include "desktopnotice.h"'
put laptop/batterysim.h '#pragma once'
put laptop/CMakeLists.txt 'add_executable(batterysim batterysim.cpp)'
put tests/support/laptopfixture.h '#pragma once'
put tests/support/CMakeLists.txt 'add_library(ovra_testsupport STATIC laptopfixture.cpp)'
put tests/applet/tst_gauge.cpp '#include "laptopfixture.h"' '#include "UPMComm.h"'
put helper/main.cpp '#include "schemeswitch.h"'
put helper/CMakeLists.txt 'add_executable(ovra-switch-scheme main.cpp)' \
    'target_link_libraries(ovra-switch-scheme PRIVATE powerdaemon)'
put powerdaemon/schemeswitch.h '#pragma once'
put powerdaemon/CMakeLists.txt 'add_library(powerdaemon STATIC schemeswitch.cpp)'
put appstart/displaycheck.h '#include <QByteArray>'
put appstart/CMakeLists.txt 'add_library(appstart STATIC displaycheck.cpp)'
put desktop/dcop/main.cpp '#include <dcopclient.h>'
put desktop/dcop/CMakeLists.txt 'add_executable(dcop main.cpp)' \
    'target_link_libraries(dcop PRIVATE ovradesktop)'
put desktop/ovradesktop/dcopbus/dcopclient.h '#include <QDBusConnection>'

# Qt's include folder, with a header of each module the rules name.
qt=$(mktemp -d "${TMPDIR:-/tmp}/check-rings-qt.XXXXXX")
trap 'rm -rf "$tree" "$qt"' EXIT
for header in QtCore/QString QtGui/QImage QtWidgets/QMessageBox QtWidgets/QWidget \
    QtDBus/QDBusConnection; do
    mkdir -p "$qt/${header%/*}"
    echo '#include "x.h"' >"$qt/$header"
done
widgets=(--qt-include "$qt")

# Every folder of the allow-list, with a header and a target named after it.
allow=$(dirname "$check")/rings.allow
declare -A uses=() modules=()
folders=()
while IFS='|' read -r folder used qt_used; do
    folder=${folder//[[:space:]]/}
    [[ -z $folder || $folder == \#* ]] && continue
    folders+=("$folder")
    uses[$folder]=" $used "
    modules[$folder]=" $qt_used "
    put "$folder/${folder//\//_}_own.h" '#pragma once'
    put "$folder/own.cmake" "add_library(${folder//\//_}_own STATIC own.cpp)"
done <"$allow"
((${#folders[@]} > 5)) || fail "no rules read from $allow"

out=$("$check" "${widgets[@]}" "$tree" 2>&1) || fail "a tree that keeps the rings fails: $out"

# violation RULE FILE EXPECTED-TEXT LINE...: FILE (added, or extended by the
# lines) breaks RULE alone; the report names the file and the text.
violation() {
    local rule=$1 file=$2 expected=$3
    shift 3
    local saved= other
    [[ -f $tree/$file ]] && saved=$(cat "$tree/$file")
    mkdir -p "$tree/$(dirname "$file")"
    printf '%s\n' "$@" >>"$tree/$file"
    out=$("$check" "${widgets[@]}" --rule "$rule" "$tree" 2>&1)
    if [[ $? -ne 1 ]]; then
        fail "$rule: $file ($*) passes"
    elif [[ $out != *"check-rings: $rule: $file"*"$expected"* ]]; then
        fail "$rule: $file ($*): report does not name it: $out"
    fi
    if ! other=$("$check" "${widgets[@]}" --except "$rule" "$tree" 2>&1); then
        fail "$rule: $file ($*) breaks other rules too: $other"
    fi
    if [[ -n $saved ]]; then printf '%s\n' "$saved" >"$tree/$file"; else rm "$tree/$file"; fi
}

violation applet applet/graphframe.cpp 'UPMComm.h of common/' '#include "UPMComm.h"'
violation applet applet/graphframe.cpp '../common/x.h of common/' '#include "../common/x.h"'
violation applet applet/CMakeLists.txt 'links common' \
    'target_link_libraries(ovraapplet PRIVATE common)'
violation desktop/ovradesktop desktop/ovradesktop/host/appletloader.cpp 'comm.h of applet/' '#include "comm.h"'
violation desktop/panelhost desktop/panelhost/main.cpp 'applet/pmapplet.h of applet/' \
    '#include <applet/pmapplet.h>'
violation desktop/panelhost desktop/panelhost/CMakeLists.txt 'links ovraapplet' \
    'add_dependencies(panelhost ovraapplet)'
violation popup popup/main.cpp 'laptopfixture.h of tests/support/' '#include "laptopfixture.h"'
violation forms forms/tform.cpp 'batterysim.h of laptop/' '#include "batterysim.h"'
violation powerdaemon powerdaemon/CMakeLists.txt 'links ovra_testsupport' \
    'target_link_libraries(powerdaemon PRIVATE ovra_testsupport)'
violation desktop/ovradesktop desktop/ovradesktop/kde/kprocess.cpp 'tests/support/x.h of tests/support/' \
    '#include "../tests/support/x.h"'
violation common common/errorbox.cpp 'QMessageBox of Qt Widgets' '#include <QMessageBox>'
violation common common/errorbox.cpp 'QtWidgets/QWidget of Qt Widgets' \
    '#include <QtWidgets/QWidget>'
violation common common/CMakeLists.txt 'links Qt Widgets' \
    'target_link_libraries(common PUBLIC Qt6::Widgets)'
violation lxqt lxqt/ovralxqtplugin.cpp 'panelwindow.h of desktop/panelhost/' \
    '#include "panelwindow.h"'
violation lxqt lxqt/CMakeLists.txt 'links panelhostlib' \
    'target_link_libraries(ovra PRIVATE panelhostlib)'
violation lxqt lxqt/CMakeLists.txt 'links panelhost' 'add_dependencies(ovra panelhost)'
violation forms forms/tform.cpp 'SchemepopBase.h of popup/' '#include "SchemepopBase.h"'
violation forms forms/tform.cpp 'UPMComm.h of common/' '#include "UPMComm.h"'
violation forms forms/tlabel.cpp 'comm.h of applet/' '#include "comm.h"'
violation forms forms/tlabel.cpp 'kpanelapplet.h of desktop/ovradesktop/' '#include <kpanelapplet.h>'
violation forms forms/tlabel.cpp '../popup/x.h of popup/' '#include "../popup/x.h"'
violation forms forms/CMakeLists.txt 'links common' \
    'target_link_libraries(forms PRIVATE common)'
violation forms forms/CMakeLists.txt 'links schemepopform' \
    'add_dependencies(forms schemepopform)'
violation forms forms/CMakeLists.txt 'links ovradesktop' \
    'target_link_libraries(forms PRIVATE ovradesktop)'
violation common common/errormessages.cpp 'tform.h of forms/' '#include "tform.h"'
violation common common/errormessages.cpp 'forms/errorbox.h of forms/' \
    '#include <forms/errorbox.h>'
violation common common/CMakeLists.txt 'links forms' \
    'target_link_libraries(common PRIVATE forms)'
violation helper helper/main.cpp 'UPMComm.h of common/' '#include "UPMComm.h"'
violation helper helper/CMakeLists.txt 'links notify of notify/' \
    'target_link_libraries(ovra-switch-scheme PRIVATE notify)'
violation appstart appstart/displaycheck.cpp 'kpanelapplet.h of desktop/ovradesktop/' \
    '#include <kpanelapplet.h>'
violation appstart appstart/CMakeLists.txt 'links ovradesktop of desktop/ovradesktop/' \
    'target_link_libraries(appstart PRIVATE ovradesktop)'
violation desktop/ovradesktop desktop/ovradesktop/kde/kglobal.cpp 'ovralxqtplugin.h of lxqt/' '#include "ovralxqtplugin.h"'
violation desktop/ovradesktop desktop/ovradesktop/host/appletloader.cpp '../../lxqt/x.h of lxqt/' \
    '#include "../../lxqt/x.h"'
violation desktop/panelhost desktop/panelhost/CMakeLists.txt 'links ovra of lxqt/' \
    'add_dependencies(panelhost ovra)'

violation notify notify/desktopnotice.cpp 'UPMComm.h of common/' '#include "UPMComm.h"'
violation notify notify/desktopnotice.cpp 'kpanelapplet.h of desktop/ovradesktop/' \
    '#include <kpanelapplet.h>'
violation notify notify/CMakeLists.txt 'links ovradesktop' \
    'target_link_libraries(notify PRIVATE ovradesktop)'
violation common common/schemes.cpp 'desktopnotice.h of notify/' '#include "desktopnotice.h"'
violation common common/CMakeLists.txt 'links notify' \
    'target_link_libraries(common PRIVATE notify)'
violation desktop/ovradesktop desktop/ovradesktop/kde/kglobal.cpp '../notify/x.h of notify/' '#include "../notify/x.h"'

# Each rule catches a header and a target of a folder its line does not
# list, the test support's headers, and a Qt module its line does not list.
declare -A qt_header=([Core]=QString [Gui]=QImage [Widgets]=QWidget [DBus]=QDBusConnection)
for folder in "${folders[@]}"; do
    for other in "${folders[@]}"; do
        [[ $other == "$folder" || ${uses[$folder]} == *" $other "* ]] && continue
        own=${other//\//_}_own
        violation "$folder" "$folder/planted.cpp" "$own.h of $other/" "#include \"$own.h\""
        violation "$folder" "$folder/planted.cmake" "links $own of $other/" \
            "target_link_libraries(planted PRIVATE $own)"
        break
    done
    violation "$folder" "$folder/planted.cpp" 'laptopfixture.h of tests/support/' \
        '#include "laptopfixture.h"'
    for module in Widgets DBus Gui Core; do
        [[ ${modules[$folder]} == *" $module "* ]] && continue
        violation "$folder" "$folder/planted.cpp" "${qt_header[$module]} of Qt $module" \
            "#include <${qt_header[$module]}>"
        violation "$folder" "$folder/planted.cmake" "links Qt $module" \
            "target_link_libraries(planted PRIVATE Qt6::$module)"
        break
    done
done

# A folder with sources that the allow-list does not name.
put newpart/part.cpp '#include <QString>'
out=$("$check" "${widgets[@]}" "$tree" 2>&1)
[[ $? -eq 1 && $out == *"newpart/part.cpp"* ]] || fail "a folder missing from the allow-list passes: $out"
rm -r "$tree/newpart"

"$check" --rule no_such_rule "$tree" >/dev/null 2>&1
[[ $? -eq 2 ]] || fail "an unknown rule is not a usage error"
printf 'popup | forms\n' >"$qt/short.allow"
"$check" --allow "$qt/short.allow" "$tree" >/dev/null 2>&1
[[ $? -eq 2 ]] || fail "an allow-list line without its Qt column is not a usage error"

((failures)) || echo "check-rings: every rule catches its violations"
finish
