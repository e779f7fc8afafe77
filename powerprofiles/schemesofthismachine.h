// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The one place that picks what keeps the schemes, for both programs, from
// what the machine has (machine/machine.h): the power daemon's file by the
// program's rules, or power-profiles-daemon under the name it answered to.

#include "powerdaemon/schemerules.h"
#include "schemes/schemebackend.h"

#include <memory>

namespace powerprofiles {

std::unique_ptr<schemes::SchemeBackend> schemesOfThisMachine(powerdaemon::Rules rules);

} // namespace powerprofiles
