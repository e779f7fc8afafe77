// SPDX-License-Identifier: GPL-2.0-or-later
// What power-profiles-daemon says, kept by powerprofiles::ProfilesDaemon,
// against the real daemon of the laptop of today (laptop/sandbox --today),
// as its user: a first reading asked ahead of the daemon's signals catches
// up with a change made in between.

#include "machine/answersahead.h"
#include "machine/buscall.h"
#include "machine/machine.h"
#include "powerprofiles/profilesdaemon.h"

#include <QDBusVariant>
#include <QTest>

namespace {

constexpr int Waiting = 10000; // ms; every change is told well before

QByteArray activeOnTheBus(const machine::BusObject& daemon)
{
    QDBusMessage get = machine::propertiesCall(daemon, QStringLiteral("Get"));
    get << QStringLiteral("ActiveProfile");
    const QDBusMessage reply = machine::callWithin(get, powerprofiles::CallBound);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toString().toUtf8();
}

bool setOnTheBus(const machine::BusObject& daemon, const QString& profile)
{
    QDBusMessage set = machine::propertiesCall(daemon, QStringLiteral("Set"));
    set << QStringLiteral("ActiveProfile") << QVariant::fromValue(QDBusVariant(profile));
    return machine::callWithin(set, powerprofiles::CallBound).type() == QDBusMessage::ReplyMessage;
}

} // namespace

class TestProfilesDaemon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readingAskedAheadCatchesUp();
};

void TestProfilesDaemon::readingAskedAheadCatchesUp()
{
    const machine::Machine& here = machine::thisMachine();
    QCOMPARE(here.schemes, machine::SchemeSource::PowerProfiles);
    const QByteArray before = activeOnTheBus(here.profiles);
    QVERIFY(!before.isEmpty());
    const QString other =
        before == "power-saver" ? QStringLiteral("balanced") : QStringLiteral("power-saver");

    // The popup's start asks ahead; another program switches before the
    // form follows the daemon's signals.
    machine::askAhead(machine::profilesQuestion(here.profiles), powerprofiles::CallBound);
    QVERIFY(setOnTheBus(here.profiles, other));
    QTRY_COMPARE_WITH_TIMEOUT(activeOnTheBus(here.profiles), other.toUtf8(), Waiting);

    powerprofiles::ProfilesDaemon daemon(here.profiles);
    QCOMPARE(daemon.state().active, before);
    QVERIFY(daemon.state().profiles.contains(other.toUtf8()));
    QTRY_COMPARE_WITH_TIMEOUT(daemon.state().active, other.toUtf8(), Waiting);

    // A second reading is asked anew, at once.
    powerprofiles::ProfilesDaemon again(here.profiles);
    QCOMPARE(again.state().active, other.toUtf8());
}

QTEST_GUILESS_MAIN(TestProfilesDaemon)

#include "tst_profilesdaemon.moc"
