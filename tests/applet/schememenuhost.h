// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The scheme menu on its own, wired as the gauge wires it: the power source
// from the batteries in bays 0 and 1, the menu's activations going to a
// receiver that takes them and does nothing. Tests of the switch drive the
// menu itself; tests of the gauge hold a gauge (gaugehost.h).

#include "laptopfixture.h"

#include "applet/batteryreadings.h"
#include "applet/gaugeview.h"
#include "applet/schememenu.h"
#include "batteries/modulefiles.h"

#include <QObject>
#include <QTest>

#include <memory>

// The laptop on mains power, its configuration setting both keys and nothing
// else.
inline void onMainsWithBothKeys()
{
    laptop::mains(true);
    laptop::writeFile(QStringLiteral("/etc/sysconfig/powersave/common"),
                      "AC_SCHEME=\"performance\"\nBATTERY_SCHEME=\"powersave\"\n");
}

class SchemeMenuHost : public QObject
{
    Q_OBJECT

public:
    SchemeMenuHost()
        : menu([] { return powerSourceStatus(); },
               SchemeMenuActions{this, SLOT(entryActivated(int)), SLOT(showPercentage()),
                                 SLOT(showTime()), SLOT(launch())})
    {
        menu.make(true, true);
    }

    // The status index the gauge's view of bays 0 and 1 gives now.
    static int powerSourceStatus()
    {
        batteries::ModuleFiles files;
        return battery::viewOf(files.bay(0), files.bay(1)).status;
    }

    SchemeMenu menu;

private Q_SLOTS:
    void entryActivated(int) {}
    void showPercentage() {}
    void showTime() {}
    void launch() {}
};

// A test of the switch through the scheme menu: it runs on the laptop, and
// each case that starts a menu gets a fresh one, dropped after the case.
class SchemeMenuTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<SchemeMenuHost> m_host;

    // Mains power, both keys set, a new menu and no call recorded yet.
    void startOnMainsWithBothKeys()
    {
        onMainsWithBothKeys();
        m_host = std::make_unique<SchemeMenuHost>();
        laptop::clearCalls();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }
    void cleanup() { m_host.reset(); }
};
