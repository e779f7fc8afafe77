# SPDX-License-Identifier: GPL-2.0-or-later
# How tests are run. Every test is in exactly one tier, which is its ctest
# label (tests/tiers checks that each test has one):
#
#   unit    a plain test program or script on the build machine: no
#           simulated laptop, no display (Qt draws offscreen), no session
#           bus, a HOME of its own. It reads what it is given and the source
#           tree, so `ctest -L unit` passes in seconds on any machine, as root
#           or not, with user namespaces or without.
#   laptop  a test on a simulated laptop of its own (laptop/sandbox): the
#           battery module's files, the daemon's files and stand-ins, the
#           session bus, an Xvfb; and the simulated laptop's own tests.
#   e2e     the real programs driven end to end on a simulated laptop, as a
#           user meets them: schemepop under Xvfb and window managers,
#           panelhost and lxqt-panel with the applet, the switch helper,
#           the Debian packages.
#
# Other labels name folders or groups (popup, helper, packages, rings) beside
# the tier.

# ovra_add_unit_test(NAME <name> COMMAND <cmd> [args...]
#                    [LABELS <labels...>] [TIMEOUT <seconds>] [ENVIRONMENT <VAR=value...>])
#
# Runs <cmd> through tests/support/unit-run, which gives it a HOME and
# runtime folder of its own and no display or session bus, with
# QT_QPA_PLATFORM=offscreen.
set(OVRA_UNIT_RUN ${CMAKE_SOURCE_DIR}/tests/support/unit-run)

function(ovra_add_unit_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "COMMAND;LABELS;ENVIRONMENT" ${ARGN})
    if(NOT T_NAME OR NOT T_COMMAND)
        message(FATAL_ERROR "ovra_add_unit_test needs NAME and COMMAND")
    endif()
    add_test(NAME ${T_NAME} COMMAND ${OVRA_UNIT_RUN} ${T_COMMAND})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "unit;${T_LABELS}")
    if(T_ENVIRONMENT)
        set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
endfunction()

# ovra_add_laptop_test(NAME <name> COMMAND <cmd> [args...] [E2E]
#                      [SANDBOX_OPTIONS <laptop/sandbox options...>] [NEEDS_ROOT]
#                      [LABELS <labels...>] [TIMEOUT <seconds>] [ENVIRONMENT <VAR=value...>])
#
# Runs <cmd> inside a fresh laptop/sandbox of its own, so tests can run in
# parallel and never see each other's files; the tier is laptop, or e2e with
# E2E. Widget tests pass ENVIRONMENT QT_QPA_PLATFORM=offscreen; tests that
# need a real X server pass SANDBOX_OPTIONS --x11. NEEDS_ROOT: the sandbox
# options need root outside (--user, --system-bus); run by anyone else the
# test is skipped.
set(OVRA_SANDBOX ${CMAKE_SOURCE_DIR}/laptop/sandbox)
set(OVRA_NEEDS_ROOT ${CMAKE_SOURCE_DIR}/tests/support/needs-root)

function(ovra_add_laptop_test)
    cmake_parse_arguments(T "NEEDS_ROOT;E2E" "NAME;TIMEOUT" "COMMAND;SANDBOX_OPTIONS;LABELS;ENVIRONMENT"
                          ${ARGN})
    if(NOT T_NAME OR NOT T_COMMAND)
        message(FATAL_ERROR "ovra_add_laptop_test needs NAME and COMMAND")
    endif()
    set(env_args)
    foreach(e IN LISTS T_ENVIRONMENT)
        list(APPEND env_args --env ${e})
    endforeach()
    set(runner)
    if(T_NEEDS_ROOT)
        set(runner ${OVRA_NEEDS_ROOT})
    endif()
    add_test(NAME ${T_NAME}
             COMMAND ${runner} ${OVRA_SANDBOX} ${T_SANDBOX_OPTIONS} ${env_args} -- ${T_COMMAND})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set(tier laptop)
    if(T_E2E)
        set(tier e2e)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${tier};${T_LABELS}")
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
