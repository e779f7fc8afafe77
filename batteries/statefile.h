// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The battery module's state files: where they are, how large one may be,
// and their lines, a label, a colon and a value. Both programs take the
// labels they read from the one table here.

#include <cstddef>
#include <string_view>

namespace batteries {

// The module's folder: it exists while the module is loaded.
inline constexpr char ModuleDir[] = "/proc/H8";
// Battery n's state file, n in decimal.
inline constexpr char StateFileFormat[] = "/proc/H8/BAT%d/state";
// The same layout copied under /root/H8 (readingrules.h: path).
inline constexpr char RootCopyStateFileFormat[] = "/root/H8/BAT%d/state";
// A state file holds a few lines; a longer one is no reading.
inline constexpr std::size_t StateFileLimit = 64 * 1024;

// The labels, each with its colon, in the module's order.
inline constexpr char StateLabels[30][32] = {
    "AC attached:",
    "Capability Mode:",
    "Charger Mode:",
    "Alarm Mode:",
    "Primary Battery:",
    "Charger Controller:",
    "Condition Flag:",
    "Primary BAT support:",
    "Internal Charger Controller:",
    "Temperature:",
    "Voltage:",
    "Current:",
    "Average Current:",
    "RelativeStateofCharge:",
    "RemainingCapacity:",
    "FullChargeCapacity:",
    "RunTimeToEmpty:",
    "AverageTimeToEmpty:",
    "AverageTimeToFull:",
    "OverChargedAlarm:",
    "TerminateChargeAlarm:",
    "OverTempAlarm:",
    "TerminateDischargeAlarm:",
    "RemainingCapacityAlarm:",
    "RemainingTimeAlarm:",
    "Initialized:",
    "Discharging:",
    "FullyCharged:",
    "FullyDischarged:",
    "Cycle Count:",
};

// The labels a program reads, by their place in StateLabels.
enum class Label
{
    ACAttached = 0,
    Temperature = 9,
    Voltage,
    Current,
    RelativeStateOfCharge = 13,
    RemainingCapacity,
    FullChargeCapacity,
    RunTimeToEmpty,
    AverageTimeToEmpty,
    AverageTimeToFull,
    FullyCharged = 27,
    CycleCount = 29,
};

// The label with its colon.
constexpr std::string_view labelText(Label label)
{
    return StateLabels[static_cast<int>(label)];
}

// The values of "AC attached:": mains power connected, and not.
inline constexpr char MainsWords[2][4] = {"Yes", "No"};

} // namespace batteries
