// SPDX-License-Identifier: GPL-2.0-or-later
// The popup's battery reader: battery n's state file and the power source.
#include "UPMComm.h"
#include "batterystatetext.h"
#include "powerdaemon/boundedread.h"
#include "powersavepaths.h"
#include "rawfile.h"

namespace {

constexpr int NoStateFile = -1;

QByteArray stateFilePath(int n)
{
    const char* prefix =
        UseRootBatteryPath ? powerdaemon::RootBatteryPrefix : powerdaemon::ProcBatteryPrefix;
    return prefix + QByteArray::number(n) + "/state";
}

} // namespace

bool ReadBatState(int n, RBatState& rec)
{
    const QByteArray path = stateFilePath(n);
    if (!FileExists(path)) {
        return false;
    }
    ParseBatState(ReadFileBytes(path, powerdaemon::BatteryFileLimit), rec);
    return true;
}

int GetPowerState()
{
    RBatState rec;
    return ReadBatState(0, rec) ? rec.ACState : NoStateFile;
}
