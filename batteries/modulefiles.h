// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The battery module's files as the battery source: every call reads the
// state file afresh with one bounded read, never waiting on it, by the
// rules of the program that asks (readingrules.h): the power source by the
// popup's, from battery 0, without its file unknown and a file that cannot
// be read a failure; a bay by the applet's, without its file not present
// and a file that cannot be read present but not known.

#include "source.h"

namespace batteries {

class ModuleFiles final : public Source
{
public:
    PowerReading powerSource() override;
    Bay bay(int index) override;
};

} // namespace batteries
