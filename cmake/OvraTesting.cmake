# SPDX-License-Identifier: GPL-2.0-or-later
# Helpers for tests that run on the simulated laptop.
#
# ovra_add_laptop_test(NAME <name> COMMAND <cmd> [args...]
#                      [SANDBOX_OPTIONS <laptop/sandbox options...>] [NEEDS_ROOT]
#                      [LABELS <labels...>] [TIMEOUT <seconds>] [ENVIRONMENT <VAR=value...>])
#
# Runs <cmd> inside a fresh laptop/sandbox of its own, so tests can run in
# parallel and never see each other's files. Widget tests pass
# ENVIRONMENT QT_QPA_PLATFORM=offscreen; tests that need a real X server pass
# SANDBOX_OPTIONS --x11. NEEDS_ROOT: the sandbox options need root outside
# (--user, --system-bus); run by anyone else the test is skipped.
set(OVRA_SANDBOX ${CMAKE_SOURCE_DIR}/laptop/sandbox)

function(ovra_add_laptop_test)
    cmake_parse_arguments(T "NEEDS_ROOT" "NAME;TIMEOUT" "COMMAND;SANDBOX_OPTIONS;LABELS;ENVIRONMENT" ${ARGN})
    if(NOT T_NAME OR NOT T_COMMAND)
        message(FATAL_ERROR "ovra_add_laptop_test needs NAME and COMMAND")
    endif()
    set(env_args)
    foreach(e IN LISTS T_ENVIRONMENT)
        list(APPEND env_args --env ${e})
    endforeach()
    set(runner)
    if(T_NEEDS_ROOT)
        set(runner ${CMAKE_SOURCE_DIR}/tests/laptop/needs-root)
    endif()
    add_test(NAME ${T_NAME}
             COMMAND ${runner} ${OVRA_SANDBOX} ${T_SANDBOX_OPTIONS} ${env_args} -- ${T_COMMAND})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "laptop;${T_LABELS}")
    if(T_NEEDS_ROOT)
        set_tests_properties(${T_NAME} PROPERTIES SKIP_RETURN_CODE 77)
    endif()
endfunction()

# ovra_switch_user_options(<variable> grant|deny)
#
# Sandbox options for a test run by an ordinary user who switches schemes
# through the switch helper: the build's helper and polkit action installed,
# polkitd on the laptop's system bus, and the administrator's rule that
# grants or denies the switch to that user. The options need NEEDS_ROOT.
set(OVRA_SWITCH_USER 2742)
function(ovra_switch_user_options out verdict)
    set(setup "${CMAKE_SOURCE_DIR}/tests/support/switch-helper-setup.sh"
              "$<TARGET_FILE:ovra-switch-scheme>"
              "${CMAKE_SOURCE_DIR}/helper/org.nexalt.ovra.switch-scheme.policy"
              "${OVRA_SWITCH_USER}" "${verdict}")
    list(JOIN setup " " setup)
    set(${out} --overlay-system --setup "${setup}" --system-bus --user ${OVRA_SWITCH_USER}
        PARENT_SCOPE)
endfunction()
