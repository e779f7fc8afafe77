// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemesofthismachine.h"
#include "profileschemes.h"

#include "machine/machine.h"
#include "schemes/daemonschemes.h"

namespace powerprofiles {

std::unique_ptr<schemes::SchemeBackend> schemesOfThisMachine(powerdaemon::Rules rules)
{
    const machine::Machine& here = machine::thisMachine();
    if (here.schemes == machine::SchemeSource::PowerProfiles) {
        return std::make_unique<ProfileSchemes>(here.profiles);
    }
    return std::make_unique<schemes::DaemonSchemes>(rules);
}

} // namespace powerprofiles
