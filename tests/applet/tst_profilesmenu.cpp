// SPDX-License-Identifier: GPL-2.0-or-later
// The scheme menu on a laptop of today, against the real power-profiles-daemon
// on the laptop's system bus, as an ordinary user: its profiles in the
// daemon's order by the names people know, the mark on the one in force, a
// choice that switches and is kept for the power source, a change of source
// that puts the other source's choice in force, a hold that is told and
// never overridden, a refusal that changes nothing, and a daemon that goes
// and comes back without holding up the menu. Runs inside
// laptop/sandbox --today (--today-deny-profiles for the refusal).
#include "laptopfixture.h"

#include "applet/schememenu.h"
#include "powerprofiles/choicefile.h"

#include <kpopupmenu.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

const QString Service = QStringLiteral("net.hadess.PowerProfiles");
const QString Path = QStringLiteral("/net/hadess/PowerProfiles");

// ActiveProfile, asked on the bus connection the menu uses: the daemon
// answers after every call the menu sent it before.
QString activeProfile()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << Service << QStringLiteral("ActiveProfile");
    const QDBusMessage reply = QDBusConnection::systemBus().call(get, QDBus::Block, 5000);
    return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
}

bool todaysim(const QStringList& arguments)
{
    QProcess sim;
    sim.start(qEnvironmentVariable("LAPTOP_SRC") + QStringLiteral("/todaysim"), arguments);
    return sim.waitForFinished(20000) && sim.exitCode() == 0;
}

QByteArray choiceFile()
{
    QFile file(powerprofiles::userChoiceFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestProfilesMenu : public QObject
{
    Q_OBJECT

    // The power source as the gauge reads it: 0 on mains, 1 on battery.
    int m_status = 0;
    std::unique_ptr<SchemeMenu> m_menu;

    KPopupMenu& menu() { return *m_menu->menu(); }

    // The menu's rows from its title to the separator: text, "*" when checked,
    // "-" when disabled.
    QStringList schemeRows()
    {
        m_menu->make(false, true);
        QStringList rows;
        for (int i = 1; i < menu().count() && !menu().text(menu().idAt(i)).isEmpty(); ++i) {
            const int id = menu().idAt(i);
            rows << menu().text(id) +
                        (menu().isItemChecked(id) ? QStringLiteral(" *") : QString()) +
                        (menu().isItemEnabled(id) ? QString() : QStringLiteral(" -"));
        }
        return rows;
    }

    void choose(const QString& label)
    {
        for (int i = 0; i < menu().count(); ++i) {
            if (menu().text(menu().idAt(i)) == label) {
                m_menu->activate(menu().idAt(i));
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no entry ") + label));
    }

    void nothingPending()
    {
        // The daemon answers in order: a call the menu sent is done by now.
        activeProfile();
        QCoreApplication::processEvents();
    }

public slots:
    void ignore() {}

private slots:
    void initTestCase()
    {
        QVERIFY(laptop::inside());
        QCOMPARE(activeProfile(), QStringLiteral("balanced"));
        m_menu = std::make_unique<SchemeMenu>(
            [this] { return m_status; }, SchemeMenuActions{this, SLOT(ignore()), SLOT(ignore()),
                                                           SLOT(ignore()), SLOT(ignore())});
        m_menu->make(true, true);
        m_menu->powerSourceSeen(m_status);
    }

    // The daemon's three profiles in its order, the one in force marked; a
    // choice switches it and is kept as the choice for mains power.
    void choiceSwitchesAndIsKept()
    {
        QCOMPARE(schemeRows(),
                 (QStringList{QStringLiteral("Power Saver"), QStringLiteral("Balanced *"),
                              QStringLiteral("Performance")}));
        choose(QStringLiteral("Performance"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_menu->switching(), 5000);
        QCOMPARE(activeProfile(), QStringLiteral("performance"));
        QCOMPARE(schemeRows().value(2), QStringLiteral("Performance *"));
        QVERIFY2(choiceFile().contains("\nAC_SCHEME=\"performance\"\n"), choiceFile());
        QVERIFY(!choiceFile().contains("BATTERY_SCHEME"));
    }

    // Unplugged: no choice for the battery yet, nothing set. Once one is
    // made, each change of source puts that source's choice in force.
    void powerSourceChangeFollowsTheChoices()
    {
        m_status = 1;
        m_menu->powerSourceSeen(m_status);
        nothingPending();
        QCOMPARE(activeProfile(), QStringLiteral("performance"));
        choose(QStringLiteral("Power Saver"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_menu->switching(), 5000);
        QVERIFY2(choiceFile().contains("\nBATTERY_SCHEME=\"power-saver\"\n"), choiceFile());
        QCOMPARE(activeProfile(), QStringLiteral("power-saver"));

        m_status = 0;
        m_menu->powerSourceSeen(m_status);
        QTRY_COMPARE_WITH_TIMEOUT(activeProfile(), QStringLiteral("performance"), 5000);
        // The same source read again sets nothing.
        QVERIFY(setActive(QStringLiteral("balanced")));
        m_menu->powerSourceSeen(m_status);
        nothingPending();
        QCOMPARE(activeProfile(), QStringLiteral("balanced"));
        m_status = 1;
        m_menu->powerSourceSeen(m_status);
        QTRY_COMPARE_WITH_TIMEOUT(activeProfile(), QStringLiteral("power-saver"), 5000);
        QTRY_COMPARE(schemeRows().value(0), QStringLiteral("Power Saver *"));
        // A reading that tells no source (UPower restarting) is no change,
        // nor is the battery read again after it.
        m_menu->powerSourceSeen(-1);
        m_menu->powerSourceSeen(1);
        QVERIFY(setActive(QStringLiteral("balanced")));
        m_menu->powerSourceSeen(-1);
        m_menu->powerSourceSeen(1);
        nothingPending();
        QCOMPARE(activeProfile(), QStringLiteral("balanced"));
        QVERIFY(setActive(QStringLiteral("power-saver")));
    }

    // A program holding a profile: the menu says who and why, and a change of
    // source leaves the hold in force.
    void holdIsToldAndKept()
    {
        QProcess holder;
        holder.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QString::fromUtf8(HolderProgram)});
        QVERIFY(holder.waitForReadyRead(10000));
        QVERIFY2(!holder.readAll().startsWith("error"), "the profile was not held");
        QTRY_COMPARE(schemeRows(),
                     (QStringList{QStringLiteral("Power Saver"), QStringLiteral("Balanced"),
                                  QStringLiteral("Performance *"),
                                  QStringLiteral("Performance held by "
                                                 "org.nexalt.test: laptop test -")}));
        m_status = 0;
        m_menu->powerSourceSeen(m_status);
        m_status = 1;
        m_menu->powerSourceSeen(m_status);
        nothingPending();
        QCOMPARE(activeProfile(), QStringLiteral("performance"));
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        QTRY_COMPARE(schemeRows().size(), 3);
    }

    // The daemon stopped: nothing offered, and the menu is made at once;
    // started again: its profiles are back.
    void daemonGoneAndBack()
    {
        QVERIFY(todaysim({QStringLiteral("profiles"), QStringLiteral("stop")}));
        QTRY_COMPARE(schemeRows(), QStringList());
        QElapsedTimer made;
        made.start();
        m_menu->powerSourceSeen(0);
        m_menu->powerSourceSeen(1);
        schemeRows();
        QVERIFY2(made.elapsed() < 500, qPrintable(QString::number(made.elapsed())));
        QVERIFY(todaysim({QStringLiteral("profiles"), QStringLiteral("start")}));
        QTRY_COMPARE_WITH_TIMEOUT(schemeRows().size(), 3, 10000);
    }

    // Run on a laptop whose polkit refuses this user: nothing changes.
    void refusalChangesNothing()
    {
        if (!qEnvironmentVariableIsSet("OVRA_PROFILES_DENIED")) {
            QSKIP("only where polkit refuses the user");
        }
        QFile::remove(powerprofiles::userChoiceFile());
        const QString before = activeProfile();
        choose(QStringLiteral("Power Saver"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_menu->switching(), 5000);
        QCOMPARE(activeProfile(), before);
        QVERIFY(!QFile::exists(powerprofiles::userChoiceFile()));
        QVERIFY(!schemeRows().value(0).endsWith(QLatin1String("*")));
    }

private:
    static bool setActive(const QString& profile)
    {
        QDBusMessage set = QDBusMessage::createMethodCall(
            Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Set"));
        set << Service << QStringLiteral("ActiveProfile")
            << QVariant::fromValue(QDBusVariant(profile));
        return QDBusConnection::systemBus().call(set, QDBus::Block, 5000).type() ==
               QDBusMessage::ReplyMessage;
    }

    static constexpr char HolderProgram[] = R"py(
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SYSTEM, None)
try:
    reply = bus.call_sync("net.hadess.PowerProfiles", "/net/hadess/PowerProfiles",
                          "net.hadess.PowerProfiles", "HoldProfile",
                          GLib.Variant("(sss)", ("performance", "laptop test", "org.nexalt.test")),
                          GLib.VariantType("(u)"), 0, 5000, None)
    print(reply.unpack()[0], flush=True)
except GLib.Error as error:
    print("error:", error.message, flush=True)
sys.stdin.read()
)py";
};

QTEST_MAIN(TestProfilesMenu)
#include "tst_profilesmenu.moc"
