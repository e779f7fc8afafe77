# SPDX-License-Identifier: GPL-2.0-or-later
# ovra_add_manpage(<page>.<section> COMPONENT <component>)
#   Installs a manual page of the calling folder into MANDIR/man<section>,
#   compressed as the distribution keeps them (no name or time stamp in the
#   gzip header, so the package is the same at every build).
find_program(GZIP gzip REQUIRED)

function(ovra_add_manpage page)
    cmake_parse_arguments(M "" "COMPONENT" "" ${ARGN})
    if(NOT M_COMPONENT)
        message(FATAL_ERROR "ovra_add_manpage needs COMPONENT")
    endif()
    string(REGEX MATCH "[0-9]$" section ${page})
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/${page})
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${page} ${copy}
        COMMAND ${GZIP} -9nf ${copy}
        DEPENDS ${page} VERBATIM)
    add_custom_target(manpage-${page} ALL DEPENDS ${copy}.gz)
    install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section}
            COMPONENT ${M_COMPONENT})
endfunction()
