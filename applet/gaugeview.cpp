// SPDX-License-Identifier: GPL-2.0-or-later
#include "gaugeview.h"

#include "comm.h"
#include "translated.h"

#include <algorithm>
#include <climits>

namespace {

// The minutes the bar would write, by formatTime's rule; 0 when it writes none.
qint64 barMinutes(const GaugeView& view)
{
    qint64 time;
    if (view.time0 == -1) {
        time = view.time1;
    } else if (view.time1 == -1) {
        time = view.time0;
    } else {
        time = qint64(view.time0) + view.time1;
    }
    return std::max<qint64>(time, 0);
}

bool inRange(int per)
{
    return per >= 0 && per <= 100;
}

// The view of one battery, in whichever bay it is.
GaugeView viewOfOne(const battery::Bay& bay)
{
    GaugeView view;
    view.batteries = 1;
    view.known = bay.known;
    view.status = bay.info.status;
    view.tipTime = bay.info.iTime;
    if (!bay.known) {
        return view;
    }
    view.per = bay.info.perC;
    view.tipPer = bay.info.perC;
    view.showIcon = bay.info.bAC;
    view.time0 = bay.info.iTime;
    return view;
}

GaugeView viewOfTwo(const battery::Bay& bay0, const battery::Bay& bay1)
{
    GaugeView view;
    view.batteries = 2;
    view.known = bay0.known && bay1.known;
    // The power source is bay 0's, unless only bay 1's file could be read.
    const battery::Bay& source = bay0.known || !bay1.known ? bay0 : bay1;
    view.status = source.info.status;
    view.showIcon = source.known && source.info.bAC;
    view.tipTime =
        int(std::clamp<qint64>(qint64(bay0.info.iTime) + bay1.info.iTime, INT_MIN, INT_MAX));
    if (!view.known) {
        return view;
    }
    view.time0 = bay0.info.iTime;
    view.time1 = bay1.info.iTime;
    view.tipPer = battery::combinedPercentage(bay0.info, bay1.info);
    // Unknown capacities paint like an empty battery: whole gray bar, no text.
    view.per = view.tipPer.value_or(-1);
    return view;
}

} // namespace

namespace battery {

GaugeView viewOf(const Bay& bay0, const Bay& bay1)
{
    if (bay0.present && bay1.present) {
        return viewOfTwo(bay0, bay1);
    }
    if (bay0.present) {
        return viewOfOne(bay0);
    }
    if (bay1.present) {
        return viewOfOne(bay1);
    }
    return GaugeView();
}

QString toolTipOf(const GaugeView& view)
{
    if (view.batteries == 0) {
        return QString::fromLatin1(m_strNoBattery);
    }
    const QString separator = translated(m_strShowTip);
    // The status text goes through the catalogue once more, as it always has.
    const QString status = statusText(view.status);
    return translated(status.toUtf8().constData()) + separator + formatTime(view.tipTime, -1) +
           separator + toolTipPercentage(view.tipPer);
}

bool sameToolTip(const GaugeView& a, const GaugeView& b)
{
    if (a.batteries == 0 || b.batteries == 0) {
        return a.batteries == b.batteries;
    }
    return a.status == b.status && std::max(a.tipTime, 0) == std::max(b.tipTime, 0) &&
           a.tipPer == b.tipPer;
}

bool sameLook(const GaugeView& a, const GaugeView& b, bool showPer)
{
    if (a.batteries == 0 || b.batteries == 0) {
        return a.batteries == b.batteries;
    }
    if (a.known != b.known || a.showIcon != b.showIcon) {
        return false;
    }
    if (!a.known) {
        return true;
    }
    if (a.per != b.per) {
        return false;
    }
    // The time is written only on the battery, when chosen, with a charge in range.
    const bool timeShown = inRange(a.per) && !showPer && !a.showIcon;
    return !timeShown || barMinutes(a) == barMinutes(b);
}

} // namespace battery
