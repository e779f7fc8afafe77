// SPDX-License-Identifier: GPL-2.0-or-later
#include "bayreading.h"

#include <algorithm>
#include <cmath>

namespace upower {

namespace {

// A whole number of minutes from UPower's seconds; a negative time is none.
int minutesOf(std::int64_t seconds)
{
    constexpr std::int64_t most = 100000 * 60; // far beyond any battery, within int
    return int(std::clamp<std::int64_t>(seconds, 0, most) / 60);
}

// A value a property may hold in any way, kept finite and in range.
double bounded(double value, double most)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, most) : 0.0;
}

// Without OnBattery, what the battery's own state says of the power source.
int acIndexOfState(std::uint32_t state)
{
    switch (State(state)) {
    case State::Charging:
    case State::FullyCharged:
    case State::PendingCharge:
        return 0;
    case State::Discharging:
    case State::Empty:
    case State::PendingDischarge:
        return 1;
    case State::Unknown:
        break;
    }
    return -1;
}

} // namespace

bool isLaptopBattery(const DeviceProperties& device)
{
    return device.received && device.type == BatteryType && device.powerSupply;
}

batteries::PowerSource powerSourceOf(std::optional<bool> onBattery)
{
    if (!onBattery) {
        return batteries::PowerSource::Unknown;
    }
    return *onBattery ? batteries::PowerSource::Battery : batteries::PowerSource::Mains;
}

batteries::Bay bayOf(const DeviceProperties& battery, std::optional<bool> onBattery)
{
    if (!isLaptopBattery(battery) || !battery.isPresent) {
        return batteries::Bay();
    }
    batteries::Bay bay;
    bay.present = true;
    bay.known = true;
    bay.power.acIndex = onBattery ? int(*onBattery) : acIndexOfState(battery.state);
    bay.power.fullyCharged = State(battery.state) == State::FullyCharged;
    batteries::BatteryInfo info{};
    info.perC = int(std::lround(bounded(battery.percentage, 100.0)));
    info.toNulltime = minutesOf(battery.timeToEmpty);
    info.toFulltime = minutesOf(battery.timeToFull);
    constexpr double mostWh = 1.0e6;
    info.nowC = float(bounded(battery.energy, mostWh) * 1000.0);
    info.lastFullC = float(bounded(battery.energyFull, mostWh) * 1000.0);
    batteries::setStatus(info, batteries::statusIndexOf(bay.power));
    bay.info = info;
    return bay;
}

std::array<batteries::Bay, 2> baysOf(const std::vector<DeviceProperties>& devices,
                                     std::optional<bool> onBattery)
{
    std::array<batteries::Bay, 2> bays;
    std::size_t next = 0;
    for (const DeviceProperties& device : devices) {
        if (next == bays.size()) {
            break;
        }
        if (isLaptopBattery(device)) {
            bays[next++] = bayOf(device, onBattery);
        }
    }
    return bays;
}

} // namespace upower
