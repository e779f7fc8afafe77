// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The applet's reading of a battery state file's text (readingrules.h).

#include "source.h"

#include <optional>
#include <string_view>

namespace batteries {

// What the text says about the power source: the word of its last
// "AC attached:" line that holds one, and whether a "FullyCharged:" line
// holds no "0".
PowerState readStatus(std::string_view text);

// A bay whose battery is there, from its state file's text; none when the
// file could not be read, which leaves the battery unknown. Each value is
// the line less its label's length at the front and its unit's length at
// the end, trimmed; one that is no number stores 0, an empty one is skipped.
Bay bayOf(std::optional<std::string_view> text);

} // namespace batteries
