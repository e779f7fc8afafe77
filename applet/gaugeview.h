// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the gauge and its tool tip show for the batteries in bays 0 and 1 at
// one moment: which batteries are there, the charge, the time and the power
// source. A battery whose state file cannot be read leaves the charge
// unknown rather than empty.

#include "batteryreadings.h"

#include <QString>

#include <optional>

struct GaugeView
{
    int batteries = 0;         // present; without one the gauge says "No battery"
    bool known = true;         // every present battery could be read
    int per = 0;               // the bar's charge; outside 0..100 a whole bar, no text
    std::optional<int> tipPer; // the tool tip's charge; none when it is not known
    int status = -1;           // status index of the battery that tells the power source
    bool showIcon = false;     // the mains icon: on mains, or readings without a status
    int time0 = -1;            // the bar's time, as formatTime(time0, time1) adds them
    int time1 = -1;
    int tipTime = 0; // the tool tip's time, the batteries' times added
};

namespace battery {

// The view of the two bays. One battery, in either bay, shows its own
// readings; two show their combined charge and the power source of bay 0.
GaugeView viewOf(const Bay& bay0, const Bay& bay1);

// The tool tip's text for a view: "status -- time -- percent", or "No battery".
QString toolTipOf(const GaugeView& view);

// Whether two views give the same tool tip, and the same painted gauge with
// the display choice showPer, without building either.
bool sameToolTip(const GaugeView& a, const GaugeView& b);
bool sameLook(const GaugeView& a, const GaugeView& b, bool showPer);

} // namespace battery
