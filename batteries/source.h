// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the programs take their battery readings from, and what a reading
// holds. The popup asks a source for the power source once per showing;
// the applet's gauge asks it for bays 0 and 1 at every refresh and paint.
// The one source today is the battery module's files (modulefiles.h);
// another stands beside it by implementing Source and filling the readings
// alike, without the popup's form or the gauge's painting knowing. How long
// each call may block: docs/architecture.md, "The battery seam".

#include "powerdaemon/fileerror.h"

#include <optional>

namespace batteries {

enum class PowerSource
{
    Unknown, // no battery tells it
    Mains,
    Battery
};

struct PowerReading
{
    PowerSource source = PowerSource::Unknown;
    // Set when the source is there but could not be read.
    std::optional<powerdaemon::FileError> failure;
};

// One battery's readings (the applet's s_batInfo).
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

// Sets the status index and what follows from it, from the times set.
inline void setStatus(BatteryInfo& info, int status)
{
    info.status = status;
    info.bAC = status != 1;
    info.iTime = info.bAC ? info.toFulltime : info.toNulltime;
}

// What a bay's battery says about the power source.
struct PowerState
{
    int acIndex;       // 0 on mains power, 1 on the battery, -1 unknown
    bool fullyCharged; // the battery says it is full
};

// The status index of a power state: 2, full, on mains power.
inline int statusIndexOf(const PowerState& power)
{
    return power.fullyCharged && power.acIndex == 0 ? 2 : power.acIndex;
}

// One battery bay (BAT0 or BAT1) at one moment.
struct Bay
{
    bool present = false;        // a battery is there
    bool known = false;          // it told the power source or gave a value
    PowerState power{-1, false}; // what it said about the power source
    // Its readings with the status of its power state; without a battery or
    // a reading, no status and every value 0.
    BatteryInfo info{0, 0, 0, 0, 0, -1, true, 0};
};

class Source
{
public:
    virtual ~Source() = default;
    // Whether the laptop runs on mains power now, as the popup asks it.
    virtual PowerReading powerSource() = 0;
    // Bay 0 or 1 as it is now; without a battery it is not present.
    virtual Bay bay(int index) = 0;
};

} // namespace batteries
