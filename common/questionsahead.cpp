// SPDX-License-Identifier: GPL-2.0-or-later
#include "questionsahead.h"

#include "machine/answersahead.h"
#include "machine/machine.h"
#include "powerprofiles/profilesdaemon.h"
#include "upower/powersourceprobe.h"

void askShowingQuestionsAhead()
{
    const machine::Machine& here = machine::thisMachine();
    // In the order the form asks them: the schemes listed, then the source.
    if (here.schemes == machine::SchemeSource::PowerProfiles) {
        machine::askAhead(powerprofiles::ProfilesDaemon::readingQuestion(here.profiles),
                          powerprofiles::CallBound);
    }
    if (here.battery == machine::BatterySource::UPower) {
        machine::askAhead(upower::PowerSourceProbe::onBatteryQuestion(),
                          upower::PowerSourceProbe::Bound);
    }
}
