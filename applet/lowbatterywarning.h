// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// When to warn of a low battery: once the combined charge, running on the
// battery, has fallen to 10 % or below, and again at 5 %. Each level warns
// once; it is armed again only when the charge has risen above it. Nothing
// is said while the battery charges or is full, or without a reading.

#include <optional>

class LowBatteryWarning
{
public:
    // The charge at which the gauge turns orange, and the last warning.
    static constexpr int FirstLevel = 10;
    static constexpr int LastLevel = 5;

    // One refresh's reading: the combined charge (none when unknown, or a
    // value outside 0..100) and whether the laptop runs on the battery.
    // Returns the level to warn of now, if any; the lowest level reached
    // when the charge fell past both at once.
    std::optional<int> reading(std::optional<int> per, bool onBattery);

private:
    bool m_firstArmed = true;
    bool m_lastArmed = true;
};
