// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The battery readings as the gauge takes them from its battery source
// (batteries/source.h), and the texts and figures made of them.

#include "batteries/source.h"

#include <QString>

#include <optional>

// One battery's readings (GraphFrame::s_batInfo).
using BatteryInfo = batteries::BatteryInfo;

namespace battery {

// A bay and what its battery says about the power source, as every battery
// source tells them (batteries/source.h).
using batteries::Bay;
using batteries::PowerState;
using batteries::statusIndexOf;

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
