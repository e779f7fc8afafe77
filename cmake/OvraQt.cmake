# SPDX-License-Identifier: GPL-2.0-or-later
# Finds Qt. OVRA_QT is the versioned prefix of the Qt targets used by the
# desktop layer and the applet (Qt6 by default, Qt5 with OVRA_QT5); the popup
# and the tests of the common routines always use Qt6 and are left out of a
# Qt 5 build.
#
# Only the versioned targets (Qt5::Core, Qt6::Core) are used: both Qt versions
# define the same versionless ones (Qt::Core), so they are not created here.
set(QT_NO_CREATE_VERSIONLESS_TARGETS ON)
set(QT_NO_CREATE_VERSIONLESS_FUNCTIONS ON)
if(OVRA_QT5)
    set(OVRA_QT Qt5)
    find_package(Qt5 5.15 REQUIRED COMPONENTS Core Gui Widgets DBus Test)
else()
    set(OVRA_QT Qt6)
    find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets DBus Test)
endif()
