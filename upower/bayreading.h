// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// UPower's properties as the gauge reads a battery module's bay: the laptop
// batteries in the order of their object paths are bays 0 and 1; each
// bay's status, times and capacities mean what they mean in the module's
// state files (batteries/source.h), so the gauge paints and words them alike.

#include "deviceproperties.h"

#include "batteries/source.h"

#include <array>
#include <optional>
#include <vector>

namespace upower {

// A battery that powers the laptop: not a mouse's, not a UPS.
bool isLaptopBattery(const DeviceProperties& device);

// The power source as OnBattery tells it; unknown without an answer.
batteries::PowerSource powerSourceOf(std::optional<bool> onBattery);

// One laptop battery as a bay: not present when it is taken out; the power
// source from OnBattery, else from the battery's own state; percent in
// 0..100, times in whole minutes (0 unknown, as the module writes an unknown
// time), capacities in mWh.
batteries::Bay bayOf(const DeviceProperties& battery, std::optional<bool> onBattery);

// Bays 0 and 1 of the devices given in the order of their object paths: the
// first two laptop batteries, all others left out.
std::array<batteries::Bay, 2> baysOf(const std::vector<DeviceProperties>& devices,
                                     std::optional<bool> onBattery);

} // namespace upower
