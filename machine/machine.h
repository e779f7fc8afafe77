// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What this machine has: where the battery readings come from and what keeps
// the power schemes. Decided once per process, at the program's start, for
// both programs alike:
//   battery  the battery module's files when /proc/H8 or the module file the
//            applet's factory loads exists; otherwise UPower when it answers
//            on the system bus; otherwise the module's files, as on a machine
//            that has neither.
//   schemes  the power daemon's file when /etc/sysconfig/powersave/common
//            exists; otherwise power-profiles-daemon when it answers, under
//            its current bus name and then under the one of its older
//            releases; otherwise the daemon's file.
// Whether a service answers is asked with the program's first question for
// it (UPower's OnBattery, the profiles daemon's properties), whose answer is
// kept for that question (answersahead.h). Asking takes at most AnswerBound
// each; a machine without a system bus answers at once that none does.

#include <QDBusMessage>
#include <QString>

#include <chrono>

namespace machine {

enum class BatterySource
{
    ModuleFiles,
    UPower
};

enum class SchemeSource
{
    DaemonFile,
    PowerProfiles
};

// Where a D-Bus service keeps its object.
struct BusObject
{
    QString service;
    QString path;
    QString interface;
};

struct Machine
{
    BatterySource battery = BatterySource::ModuleFiles;
    SchemeSource schemes = SchemeSource::DaemonFile;
    // The name power-profiles-daemon answered under (schemes PowerProfiles).
    BusObject profiles;
};

// How long the start waits for one service that may not answer.
inline constexpr std::chrono::milliseconds AnswerBound{1000};

// UPower's manager object.
BusObject upower();
// power-profiles-daemon's object under its current name and under the one
// of its older releases (Debian 12's 0.12 has only that one).
BusObject powerProfiles();
BusObject olderPowerProfiles();

// UPower's OnBattery, asked of its manager object.
QDBusMessage onBatteryQuestion();
// All of the daemon's properties, asked of the object where it answers.
QDBusMessage profilesQuestion(const BusObject& profiles);

// Looks at the machine now.
Machine detect();
// The machine as detect() saw it at the first call in this process.
const Machine& thisMachine();

} // namespace machine
