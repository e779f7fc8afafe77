// SPDX-License-Identifier: GPL-2.0-or-later
// The daemon's common settings file: reading the two scheme keys, rewriting
// them, and replacing a file's content.
#include "UPMComm.h"
#include "powerdaemon/boundedread.h"
#include "powerdaemon/replacefile.h"
#include "powerdaemon/switchlock.h"
#include "powersavepaths.h"
#include "rawfile.h"
#include "schemekeys.h"

#include <string_view>

namespace {

constexpr int FileNotFound = 1;

} // namespace

bool ReadCurrentSchemes(QByteArray& acScheme, QByteArray& batteryScheme)
{
    if (!FileExists(powerdaemon::CommonFile)) {
        ShowFileError(QByteArray(), powerdaemon::CommonFile, FileNotFound);
        return false;
    }
    ReadSchemeKeys(ReadFileBytes(powerdaemon::CommonFile, powerdaemon::ConfigFileLimit), acScheme,
                   batteryScheme);
    return true;
}

bool UpdateSchemeKeys(const std::optional<QByteArray>& acScheme,
                      const std::optional<QByteArray>& batteryScheme)
{
    // One switch at a time, from the read to the rename.
    const powerdaemon::SwitchLock lock;
    if (!lock.held()) {
        throw EInOutError("lock", powerdaemon::SwitchLockFile, lock.errorCode());
    }
    const QByteArray text = ReadFileBytes(powerdaemon::CommonFile, powerdaemon::ConfigFileLimit);
    const QByteArray updated = UpdateSchemeKeysText(text, acScheme, batteryScheme);
    WriteTextFile(powerdaemon::CommonFile, updated);
    return SchemeKeysGiven(updated, acScheme, batteryScheme);
}

bool WriteTextFile(const QByteArray& fileName, const QByteArray& text)
{
    // The file keeps its owner and mode: users who are not root switch
    // through the helper, so nobody else needs to write it.
    const auto failure = powerdaemon::replaceFileContents(
        fileName.toStdString(), std::string_view(text.constData(), std::size_t(text.size())));
    if (failure) {
        throw EInOutError(failure->action.c_str(), fileName, failure->code);
    }
    return true;
}
