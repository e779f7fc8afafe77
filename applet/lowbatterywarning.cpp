// SPDX-License-Identifier: GPL-2.0-or-later
#include "lowbatterywarning.h"

std::optional<int> LowBatteryWarning::reading(std::optional<int> per, bool onBattery)
{
    if (!per || *per < 0 || *per > 100) {
        return std::nullopt;
    }
    // Above a level re-arms it, whatever the power source.
    if (*per > FirstLevel) {
        m_firstArmed = true;
    }
    if (*per > LastLevel) {
        m_lastArmed = true;
    }
    if (!onBattery) {
        return std::nullopt;
    }

    std::optional<int> warning;
    if (*per <= FirstLevel && m_firstArmed) {
        m_firstArmed = false;
        warning = FirstLevel;
    }
    if (*per <= LastLevel && m_lastArmed) {
        // Reaching the last level passes the first one too.
        m_firstArmed = false;
        m_lastArmed = false;
        warning = LastLevel;
    }
    return warning;
}
