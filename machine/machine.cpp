// SPDX-License-Identifier: GPL-2.0-or-later
#include "machine.h"
#include "answersahead.h"
#include "buscall.h"

#include "batteries/statefile.h"
#include "powerdaemon/powersavedaemon.h"

#include <QDBusMessage>

#include <sys/stat.h>

namespace machine {

namespace {

bool exists(const char* path)
{
    struct stat status;
    return ::stat(path, &status) == 0;
}

// A question that comes back within the bound. A name nobody owns and the
// bus cannot start answers at once with an error; one whose owner hangs
// costs the bound.
bool answers(const QDBusMessage& question)
{
    return askAhead(question, AnswerBound).type() == QDBusMessage::ReplyMessage;
}

BatterySource batterySource()
{
    if (exists(batteries::ModuleDir) || exists(batteries::ModuleFile)) {
        return BatterySource::ModuleFiles;
    }
    return answers(onBatteryQuestion()) ? BatterySource::UPower : BatterySource::ModuleFiles;
}

void chooseSchemes(Machine& machine)
{
    if (exists(powerdaemon::CommonFile)) {
        return;
    }
    for (const BusObject& profiles : {powerProfiles(), olderPowerProfiles()}) {
        if (answers(profilesQuestion(profiles))) {
            machine.schemes = SchemeSource::PowerProfiles;
            machine.profiles = profiles;
            return;
        }
    }
}

} // namespace

BusObject upower()
{
    return {QStringLiteral("org.freedesktop.UPower"), QStringLiteral("/org/freedesktop/UPower"),
            QStringLiteral("org.freedesktop.UPower")};
}

BusObject powerProfiles()
{
    return {QStringLiteral("org.freedesktop.UPower.PowerProfiles"),
            QStringLiteral("/org/freedesktop/UPower/PowerProfiles"),
            QStringLiteral("org.freedesktop.UPower.PowerProfiles")};
}

BusObject olderPowerProfiles()
{
    return {QStringLiteral("net.hadess.PowerProfiles"), QStringLiteral("/net/hadess/PowerProfiles"),
            QStringLiteral("net.hadess.PowerProfiles")};
}

QDBusMessage onBatteryQuestion()
{
    QDBusMessage get = propertiesCall(upower(), QStringLiteral("Get"));
    get << QStringLiteral("OnBattery");
    return get;
}

QDBusMessage profilesQuestion(const BusObject& profiles)
{
    return propertiesCall(profiles, QStringLiteral("GetAll"));
}

Machine detect()
{
    Machine machine;
    machine.battery = batterySource();
    chooseSchemes(machine);
    return machine;
}

const Machine& thisMachine()
{
    static const Machine machine = detect();
    return machine;
}

} // namespace machine
