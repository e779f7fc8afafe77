// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The battery module's state files as the gauge reads them, and the texts
// made of their readings. Every read opens the file afresh.

#include <QByteArray>
#include <QString>

#include <optional>

// One battery's readings.
struct BatteryInfo
{
    float lastFullC; // capacity at the last full charge
    float nowC;      // remaining capacity, same unit
    int toFulltime;  // minutes until full
    int toNulltime;  // minutes until empty
    int perC;        // charge in percent
    int status;      // status index: -1 no reading, 0 charging, 1 on battery, 2 full
    bool bAC;        // true unless running on the battery
    int iTime;       // the time that applies now
};

namespace battery {

// What a state file says about the power source.
struct PowerState
{
    int acIndex;       // index of the word in the last "AC attached:" line; -1 without one
    bool fullyCharged; // a "FullyCharged:" line without a 0
};

// The status index a state file's power state gives: -1 without an "AC
// attached:" line, 0 charging, 1 on the battery, 2 full on mains.
int statusIndexOf(const PowerState& power);

// One battery bay (BAT0 or BAT1) at one moment.
struct Bay
{
    bool present = false;        // its state file exists
    bool known = false;          // the file told the power source or gave a value
    PowerState power{-1, false}; // what it said about the power source
    BatteryInfo info{};          // its readings, the status from the file alone
};

bool stateFileExists(int index);
// Bay n as it is now: whether its battery is there and what its state file
// says, read with one open. A file that cannot be read, or holds nothing the
// gauge reads, is present but not known.
Bay readBay(int index);
// A bay whose battery is there, from its state file's text (none when the
// file could not be read).
Bay bayOf(const std::optional<QByteArray>& text);
// How many of the batteries 0 and 1 have a state file.
int countBatteries();
// Battery n's state file, read whole with one open; none when it cannot be
// read, is no regular file (a FIFO, a device) or exceeds
// powerdaemon::BatteryFileLimit.
std::optional<QByteArray> readStateFile(int index);
PowerState readStatus(const std::optional<QByteArray>& text);
// The readings of a state file's text, for a battery of the given status index.
BatteryInfo infoOf(const std::optional<QByteArray>& text, int status);

// The battery's wear by the share of its design capacity at the last full
// charge: 0 above 86 %, 1 above 64 %, 2 below; -1 without a cycle count, -2
// without both capacities.
int batteryLife(int iCycleCount, int LastFullCapacity, int DesignCapacity);
// The charge of two batteries together; none when their full capacities
// add up to nothing, since the quotient is then undefined.
std::optional<int> combinedPercentage(const BatteryInfo& bat0, const BatteryInfo& bat1);

// The time left as "h : mm", of one time or the sum of two (-1 stands for
// none); empty below one minute.
QString formatTime(int time1, int time2);
QString formatPercentage(int per);
// The tool tip's status text for a status index.
QString statusText(int statusIndex);
// The tool tip's percentage; "? %" when it is unknown.
QString toolTipPercentage(std::optional<int> per);

} // namespace battery
