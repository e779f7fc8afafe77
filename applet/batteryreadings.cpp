// SPDX-License-Identifier: GPL-2.0-or-later
#include "batteryreadings.h"

#include "comm.h"
#include "translated.h"

#include <algorithm>
#include <cmath>

namespace {

// Status text of a battery without a reading: the status table has no row
// for it.
constexpr char strStatusUnknown[] = I18N_NOOP("no battery reading");

} // namespace

namespace battery {

int batteryLife(int iCycleCount, int LastFullCapacity, int DesignCapacity)
{
    if (iCycleCount < 0) {
        return -1;
    }
    if (LastFullCapacity <= 0 || DesignCapacity <= 0) {
        return -2;
    }
    const qint64 iPerCapacity = qint64(LastFullCapacity) * 100 / DesignCapacity;
    if (iPerCapacity > 86) {
        return 0;
    }
    if (iPerCapacity > 64) {
        return 1;
    }
    return 2;
}

std::optional<int> combinedPercentage(const BatteryInfo& bat0, const BatteryInfo& bat1)
{
    const double full = double(bat1.lastFullC) + double(bat0.lastFullC);
    if (full == 0.0) {
        return std::nullopt;
    }
    const double per = (double(bat1.nowC) + double(bat0.nowC)) * 100.0 / full;
    if (!std::isfinite(per)) {
        return std::nullopt;
    }
    // Far outside 0..100 every value paints alike; the bound keeps the
    // conversion to int defined.
    return int(std::trunc(std::clamp(per, -1.0e6, 1.0e6)));
}

QString formatTime(int time1, int time2)
{
    qint64 time;
    if (time1 == -1) {
        time = time2;
    } else if (time2 == -1) {
        time = time1;
    } else {
        time = qint64(time1) + time2;
    }
    if (time < 1) {
        return QString();
    }

    const qint64 iHour = time / 60;
    const qint64 iMinute = time % 60;
    // TRANSLATORS: between hours and a one-digit minute, as in "2 : 05".
    const char* separator = iMinute <= 9 ? I18N_NOOP(" : 0") : I18N_NOOP(" : ");
    return QString::number(iHour) + translated(separator) + QString::number(iMinute);
}

QString formatPercentage(int per)
{
    // TRANSLATORS: behind the charge percentage, as in "87 %".
    return QString::number(per) + translated(I18N_NOOP(" %"));
}

QString statusText(int statusIndex)
{
    const bool known = statusIndex >= 0 && statusIndex <= 2;
    return translated(known ? m_strArrayBatStatus[statusIndex] : strStatusUnknown);
}

QString toolTipPercentage(std::optional<int> per)
{
    if (per) {
        return formatPercentage(*per);
    }
    // TRANSLATORS: the percentage of two batteries whose capacities are unknown.
    return translated(I18N_NOOP("? %"));
}

} // namespace battery
