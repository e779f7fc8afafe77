// SPDX-License-Identifier: GPL-2.0-or-later
// The popup's battery reader: battery n's state file and the power source,
// by the popup's rules (batteries/readingrules.h).
#include "UPMComm.h"
#include "batterystatetext.h"
#include "rawfile.h"

#include "batteries/modulefiles.h"
#include "batteries/readingrules.h"
#include "batteries/statefile.h"
#include "machine/machine.h"
#include "upower/powersourceprobe.h"

namespace {

// Where the popup takes the power source from: the source this machine
// has (machine/), asked once per showing.
batteries::Source& batterySource()
{
    if (machine::thisMachine().battery == machine::BatterySource::UPower) {
        static upower::PowerSourceProbe upowerProbe;
        return upowerProbe;
    }
    static batteries::ModuleFiles moduleFiles;
    return moduleFiles;
}

} // namespace

bool ReadBatState(int n, RBatState& rec)
{
    const QByteArray path =
        QByteArray::fromStdString(batteries::stateFilePath(batteries::Rules::Popup, n));
    if (!FileExists(path)) {
        return false;
    }
    ParseBatState(ReadFileBytes(path, batteries::StateFileLimit), rec);
    return true;
}

int GetPowerState()
{
    const batteries::PowerReading reading = batterySource().powerSource();
    if (reading.failure) {
        throw EInOutError(*reading.failure);
    }
    if (reading.source == batteries::PowerSource::Unknown) {
        return -1; // no state file of battery 0
    }
    return reading.source == batteries::PowerSource::Mains ? 0 : 1;
}
