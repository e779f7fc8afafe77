// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What UPower says of one of its devices, as far as the gauge needs it: the
// properties of org.freedesktop.UPower.Device by their names there.

#include <cstdint>

namespace upower {

// The device types and states UPower names by number.
inline constexpr std::uint32_t BatteryType = 2;

enum class State : std::uint32_t
{
    Unknown = 0,
    Charging = 1,
    Discharging = 2,
    Empty = 3,
    FullyCharged = 4,
    PendingCharge = 5,
    PendingDischarge = 6
};

struct DeviceProperties
{
    bool received = false; // UPower has told its properties
    std::uint32_t type = 0;
    bool powerSupply = false; // it powers the laptop (a mouse's battery does not)
    bool isPresent = false;
    double percentage = 0;
    std::uint32_t state = 0;
    std::int64_t timeToEmpty = 0; // seconds; 0 is unknown
    std::int64_t timeToFull = 0;
    double energy = 0; // Wh
    double energyFull = 0;
};

} // namespace upower
