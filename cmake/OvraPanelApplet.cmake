# SPDX-License-Identifier: GPL-2.0-or-later
# Panel applets: where their desktop entries and libraries live.
#
# In the build tree an applet's library is built into ${CMAKE_BINARY_DIR}/lib/
# and its desktop entry is copied into ${OVRA_BUILD_APPLET_DATADIR}
# (${CMAKE_BINARY_DIR}/share/ovra/applets/), where an uninstalled
# build/bin/panelhost looks first. Installed, the library goes to
# ${OVRA_INSTALL_APPLET_PLUGINDIR} and the entry to ${OVRA_INSTALL_APPLET_DATADIR}.
#
# ovra_add_panel_applet(TARGET <shared library target> DESKTOP_FILE <file>
#                       [NO_INSTALL] [COMPONENT <library's> [ENTRY_COMPONENT <entry's>]])
#   Links the target against the desktop layer, makes the entry visible to the
#   build tree's panelhost and adds the install rules, in the install
#   components given (the entry's defaults to the library's). The entry's
#   X-KDE-Library names the library without suffix (e.g. libovraapplet).

# Included by the top-level CMakeLists.txt, so that every folder sees these
# folders. The libraries of a Qt 5 build go to a folder of their own, so that
# both builds can be installed side by side; the desktop entries are the same
# for both.
if(OVRA_QT5)
    set(plugindir ${CMAKE_INSTALL_LIBDIR}/ovra/qt5/applets)
else()
    set(plugindir ${CMAKE_INSTALL_LIBDIR}/ovra/applets)
endif()
# Applet desktop entries and libraries, relative to the install prefix.
set(OVRA_INSTALL_APPLET_DATADIR ${CMAKE_INSTALL_DATADIR}/ovra/applets)
set(OVRA_INSTALL_APPLET_PLUGINDIR ${plugindir})
unset(plugindir)
# Applet desktop entries in the build tree.
set(OVRA_BUILD_APPLET_DATADIR ${CMAKE_BINARY_DIR}/share/ovra/applets)

function(ovra_add_panel_applet)
    cmake_parse_arguments(A "NO_INSTALL" "TARGET;DESKTOP_FILE;COMPONENT;ENTRY_COMPONENT" "" ${ARGN})
    if(NOT A_TARGET OR NOT A_DESKTOP_FILE)
        message(FATAL_ERROR "ovra_add_panel_applet needs TARGET and DESKTOP_FILE")
    endif()
    target_link_libraries(${A_TARGET} PRIVATE ovradesktop)
    # Installed in its plug-in folder, the applet finds the desktop library in LIBDIR.
    file(RELATIVE_PATH to_libdir ${CMAKE_INSTALL_PREFIX}/${OVRA_INSTALL_APPLET_PLUGINDIR}
         ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})
    set_target_properties(${A_TARGET} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
        INSTALL_RPATH "$ORIGIN/${to_libdir}")
    get_filename_component(entry_name ${A_DESKTOP_FILE} NAME)
    get_filename_component(entry_path ${A_DESKTOP_FILE} ABSOLUTE)
    configure_file(${entry_path} ${OVRA_BUILD_APPLET_DATADIR}/${entry_name} COPYONLY)
    if(NOT A_NO_INSTALL)
        if(NOT A_COMPONENT)
            set(A_COMPONENT Unspecified)
        endif()
        if(NOT A_ENTRY_COMPONENT)
            set(A_ENTRY_COMPONENT ${A_COMPONENT})
        endif()
        install(TARGETS ${A_TARGET} LIBRARY DESTINATION ${OVRA_INSTALL_APPLET_PLUGINDIR}
                COMPONENT ${A_COMPONENT} NAMELINK_SKIP)
        install(FILES ${entry_path} DESTINATION ${OVRA_INSTALL_APPLET_DATADIR}
                COMPONENT ${A_ENTRY_COMPONENT})
    endif()
endfunction()
