# SPDX-License-Identifier: GPL-2.0-or-later
# Debian packages (CPack's DEB generator, one package per install component),
# made by `make package` or `cpack` in a build folder. Configure with
# -DCMAKE_INSTALL_PREFIX=/usr (the Makefile does), so that the library folder
# is Debian's multiarch one, where lxqt-panel finds its plug-ins.
#
# Each build makes the packages of its own Qt:
#   Qt 6 (build/):      schemepop, libovradesktop1, ovraapplet, panelhost, dcop,
#                       and ovraapplet-common (the applet's desktop entry and
#                       the German catalogue of the applet and the popup, the
#                       same for both Qt builds)
#   Qt 5 (build-qt5/):  libovradesktop-qt5-1, ovraapplet-qt5, ovra-lxqt-plugin
# Both builds install the applet's entry and catalogue (component appletdata),
# but only the Qt 6 build packages them, so no file is in two packages. The
# headers and link names (component devel) are not packaged.
set(OVRA_DEB_RELEASE 1)
set(OVRA_DEB_VERSION ${PROJECT_VERSION}-${OVRA_DEB_RELEASE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ovra)
set(CPACK_PACKAGE_VENDOR "Ovra developers")
set(CPACK_PACKAGE_CONTACT "Ovra developers <maintainers@ovra.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${OVRA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries each package links (dpkg-shlibdeps). The
# project's own libraries are found in the build tree; the packages that hold
# them are named below, with this exact version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The desktop layer's package says which package provides its library to
# whatever is built against it (its shlibs file), and has the linker cache
# renewed through dpkg's ldconfig trigger (CPack's own scripts call ldconfig
# as well).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(triggers ${CMAKE_BINARY_DIR}/packaging/triggers)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-triggers-ldconfig ${triggers} COPYONLY)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_CONTROL_EXTRA ${triggers})
# The packages that switch schemes clean the switch's lock on their last purge.
set(switch_postrm ${CMAKE_BINARY_DIR}/packaging/switch/postrm)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-postrm-switch ${switch_postrm} COPYONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The switch helper is needed only where the power daemon's file is; a laptop
# of today has UPower and power-profiles-daemon instead, and the programs use
# them where the daemon's file is missing.
set(power_recommends
    "ovra-switch-scheme (= ${OVRA_DEB_VERSION}), upower, power-profiles-daemon")
set(desktop_summary "desktop layer for KDE 3 style panel applets")
set(applet_summary "battery gauge and power scheme switcher for the panel")
if(OVRA_QT5)
    set(CPACK_COMPONENTS_ALL desktop applet lxqt)
    set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME libovradesktop-qt5-1)
    set(CPACK_DEBIAN_APPLET_PACKAGE_NAME ovraapplet-qt5)
    set(CPACK_DEBIAN_LXQT_PACKAGE_NAME ovra-lxqt-plugin)
    # The entry and catalogue come from the Qt 6 build's package, and so
    # does the switch helper.
    set(CPACK_DEBIAN_APPLET_PACKAGE_DEPENDS "ovraapplet-common (= ${OVRA_DEB_VERSION})")
    set(CPACK_DEBIAN_APPLET_PACKAGE_RECOMMENDS "${power_recommends}")
    set(CPACK_DEBIAN_APPLET_PACKAGE_CONTROL_EXTRA ${switch_postrm})
    # A plugin is built against one lxqt-panel's plug-in interface, which
    # changes between its minor versions.
    set(CPACK_DEBIAN_LXQT_PACKAGE_DEPENDS lxqt-panel)
    execute_process(COMMAND dpkg-query -W -f=\${Version} lxqt-panel
                    OUTPUT_VARIABLE lxqt_version ERROR_QUIET)
    if(lxqt_version MATCHES "^([0-9]+)\\.([0-9]+)")
        set(major ${CMAKE_MATCH_1})
        set(minor ${CMAKE_MATCH_2})
        math(EXPR next_minor "${minor} + 1")
        set(CPACK_DEBIAN_LXQT_PACKAGE_DEPENDS
            "lxqt-panel (>= ${major}.${minor}), lxqt-panel (<< ${major}.${next_minor})")
    endif()
    set(qt "Qt 5")
    set(applet_depends desktop)
else()
    set(CPACK_COMPONENTS_ALL schemepop switchhelper desktop applet appletdata panelhost dcop)
    set(CPACK_DEBIAN_SCHEMEPOP_PACKAGE_NAME schemepop)
    set(CPACK_DEBIAN_SWITCHHELPER_PACKAGE_NAME ovra-switch-scheme)
    # pkexec runs the helper once polkitd has authorised the user.
    set(CPACK_DEBIAN_SWITCHHELPER_PACKAGE_DEPENDS "pkexec, polkitd")
    set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME libovradesktop1)
    set(CPACK_DEBIAN_APPLET_PACKAGE_NAME ovraapplet)
    set(CPACK_DEBIAN_APPLETDATA_PACKAGE_NAME ovraapplet-common)
    set(CPACK_DEBIAN_APPLETDATA_PACKAGE_ARCHITECTURE all)
    set(CPACK_DEBIAN_PANELHOST_PACKAGE_NAME panelhost)
    set(CPACK_DEBIAN_PANELHOST_PACKAGE_RECOMMENDS ovraapplet)
    set(CPACK_DEBIAN_DCOP_PACKAGE_NAME dcop)
    set(CPACK_DEBIAN_SCHEMEPOP_PACKAGE_RECOMMENDS "${power_recommends}")
    set(CPACK_DEBIAN_APPLET_PACKAGE_RECOMMENDS "${power_recommends}")
    foreach(component SCHEMEPOP APPLET SWITCHHELPER)
        set(CPACK_DEBIAN_${component}_PACKAGE_CONTROL_EXTRA ${switch_postrm})
    endforeach()
    set(qt "Qt 6")
    set(applet_depends desktop appletdata)
endif()

# Every package carries the licence and the packaging's change log where
# Debian keeps them, the log compressed without name or time stamp.
find_program(GZIP gzip REQUIRED)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/debian-changelog
            ${CMAKE_BINARY_DIR}/packaging/changelog.Debian
    COMMAND ${GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/changelog.Debian
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian-changelog VERBATIM)
add_custom_target(debian-changelog ALL DEPENDS ${changelog})
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    string(TOUPPER ${component} upper)
    set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian-copyright RENAME copyright
            DESTINATION ${docdir} COMPONENT ${component})
    install(FILES ${changelog} DESTINATION ${docdir} COMPONENT ${component})
endforeach()

include(CPack)

# The summary line, then the long description, which CPack indents for the
# control file's Description field (a semicolon would split it: CMake lists).
cpack_add_component(desktop DISPLAY_NAME "Desktop layer (${qt})"
    DESCRIPTION "Ovra ${desktop_summary} (${qt})
The KDE 3 desktop classes that the Ovra battery applet is written against,
on ${qt}: panel applets, id-based menus, processes, message catalogues over
gettext, and DCOP over the D-Bus session bus.")
cpack_add_component(applet DISPLAY_NAME "Battery applet (${qt})" DEPENDS ${applet_depends}
    DESCRIPTION "Ovra ${applet_summary} (${qt})
libovraapplet.so.1, a KDE 3 style panel applet: the battery as a gauge with
the percentage or the remaining time, a mains icon and a tool tip, and a
menu that switches the power daemon's scheme.")
if(OVRA_QT5)
    cpack_add_component(lxqt DISPLAY_NAME "LXQt panel plugin" DEPENDS applet desktop
        DESCRIPTION "Ovra battery applet in LXQt's panel
The lxqt-panel plugin Ovra Battery: it loads the Ovra battery applet
(Qt 5) into LXQt's panel and keeps its DCOP interface working there.")
else()
    cpack_add_component(switchhelper DISPLAY_NAME "Power scheme switch helper"
        DESCRIPTION "Switches the laptop's power scheme for users who are not root
ovra-switch-scheme sets the power daemon's scheme of a power source and has
the daemon reload its configuration, as root, for the users of schemepop and
of the Ovra battery applet. pkexec runs it once polkit has authorised the
user: the action org.nexalt.ovra.switch-scheme, granted to active local users
without a password.")
    # The popup tells what came of a switch in the catalogue it shares with the applet.
    cpack_add_component(schemepop DISPLAY_NAME "Power scheme popup" DEPENDS appletdata
        DESCRIPTION "Popup that chooses the laptop's power scheme
schemepop shows the power daemon's schemes in a small window that a hot key
starts. A click makes a scheme the one of the power source in use and has
the daemon reload its configuration.")
    cpack_add_component(appletdata DISPLAY_NAME "Battery applet data"
        DESCRIPTION "Ovra ${applet_summary} (common files)
The applet's desktop entry and the German message catalogue of the applet
and of schemepop, shared by the applet's Qt 6 and Qt 5 builds.")
    cpack_add_component(panelhost DISPLAY_NAME "Panel host" DEPENDS desktop
        DESCRIPTION "Bottom-edge panel for KDE 3 style applets
panelhost loads applets through their desktop entries and exported init(),
sizes them and offers their actions on its handle's menu.")
    cpack_add_component(dcop DISPLAY_NAME "DCOP command line" DEPENDS desktop
        DESCRIPTION "Command line for the DCOP objects on the D-Bus session bus
dcop lists applications, objects and functions and calls them, as KDE 3
users knew it, on DCOP objects published over the D-Bus session bus.")
endif()
unset(qt)
unset(applet_depends)
unset(power_recommends)
unset(switch_postrm)
unset(upper)
unset(docdir)
unset(triggers)
