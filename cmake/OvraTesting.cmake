# SPDX-License-Identifier: GPL-2.0-or-later
# Helpers for tests that run on the simulated laptop.
#
# ovra_add_laptop_test(NAME <name> COMMAND <cmd> [args...]
#                      [SANDBOX_OPTIONS <laptop/sandbox options...>]
#                      [LABELS <labels...>] [TIMEOUT <seconds>] [ENVIRONMENT <VAR=value...>])
#
# Runs <cmd> inside a fresh laptop/sandbox of its own, so tests can run in
# parallel and never see each other's files. Widget tests pass
# ENVIRONMENT QT_QPA_PLATFORM=offscreen; tests that need a real X server pass
# SANDBOX_OPTIONS --x11.
set(OVRA_SANDBOX ${CMAKE_SOURCE_DIR}/laptop/sandbox)

function(ovra_add_laptop_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "COMMAND;SANDBOX_OPTIONS;LABELS;ENVIRONMENT" ${ARGN})
    if(NOT T_NAME OR NOT T_COMMAND)
        message(FATAL_ERROR "ovra_add_laptop_test needs NAME and COMMAND")
    endif()
    set(env_args)
    foreach(e IN LISTS T_ENVIRONMENT)
        list(APPEND env_args --env ${e})
    endforeach()
    add_test(NAME ${T_NAME}
             COMMAND ${OVRA_SANDBOX} ${T_SANDBOX_OPTIONS} ${env_args} -- ${T_COMMAND})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "laptop;${T_LABELS}")
endfunction()
