// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The popup's reading of a battery state file's text (readingrules.h).

#include "source.h"
#include "statefile.h"

#include <functional>
#include <optional>
#include <string_view>

namespace batteries {

// "Label:   value": a line that holds the label with its colon anywhere;
// the value is what follows as many bytes from the line's start as the
// label and colon have, without its leading blanks and control bytes. So
// only a line that begins with the label reads right. None for any other
// line.
std::optional<std::string_view> labelLineValue(std::string_view line,
                                               std::string_view labelWithColon);

// Calls f(label, value) for every line that holds one of the popup's
// labels: FullChargeCapacity, AC attached, RemainingCapacity, Voltage,
// Temperature, Current, RunTimeToEmpty, AverageTimeToFull,
// AverageTimeToEmpty, RelativeStateofCharge, FullyCharged, Cycle Count,
// tested in this order; the first the line holds is the line's.
void forEachPopupValue(std::string_view text,
                       const std::function<void(Label, std::string_view)>& f);

// An "AC attached" value that says mains power: exactly "Yes".
bool isMainsValue(std::string_view value);

// The power source the text tells: its last "AC attached" value; the
// battery without one.
PowerSource popupPowerSource(std::string_view text);

} // namespace batteries
