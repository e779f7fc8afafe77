// SPDX-License-Identifier: GPL-2.0-or-later
// The daemon's common settings file: reading the two scheme keys, rewriting
// them in place, and replacing a file's content.
#include "BoundedRead.h"
#include "PowersavePaths.h"
#include "RawFile.h"
#include "ReplaceFile.h"
#include "SchemeKeys.h"
#include "UPMComm.h"

#include <algorithm>
#include <string_view>

#include <unistd.h>

namespace {

constexpr int FileNotFound = 1;

bool isShellSafe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArray("/._-+,:@%=").contains(c);
}

// A file name as one shell word: unchanged when it needs no quoting, so the
// daemon's path goes to the shell as it stands; otherwise in single quotes.
QByteArray shellWord(const QByteArray& fileName)
{
    if (!fileName.isEmpty() && std::all_of(fileName.begin(), fileName.end(), isShellSafe)) {
        return fileName;
    }
    QByteArray quoted = fileName;
    quoted.replace("'", "'\\''");
    return '\'' + quoted + '\'';
}

} // namespace

bool ReadCurrentSchemes(QByteArray& acScheme, QByteArray& batteryScheme)
{
    if (!FileExists(powersave::CommonFile)) {
        ShowFileError(QByteArray(), powersave::CommonFile, FileNotFound);
        return false;
    }
    ReadSchemeKeys(ReadFileBytes(powersave::CommonFile, shellconf::ConfigFileLimit), acScheme,
                   batteryScheme);
    return true;
}

bool UpdateSchemeKeys(const std::optional<QByteArray>& acScheme,
                      const std::optional<QByteArray>& batteryScheme)
{
    const QByteArray text = ReadFileBytes(powersave::CommonFile, shellconf::ConfigFileLimit);
    const QByteArray updated = UpdateSchemeKeysText(text, acScheme, batteryScheme);
    WriteTextFile(powersave::CommonFile, updated);
    return SchemeKeysGiven(updated, acScheme, batteryScheme);
}

bool WriteTextFile(const QByteArray& fileName, const QByteArray& text)
{
    // Run by root, the file is opened up for every user, so that ordinary
    // users can switch schemes later on.
    if (getuid() == 0) {
        ExecCmd("chmod 666 " + shellWord(fileName));
    }
    const auto failure = shellconf::replaceFileContents(
        fileName.toStdString(), std::string_view(text.constData(), std::size_t(text.size())));
    if (failure) {
        throw EInOutError(failure->action.c_str(), fileName, failure->code);
    }
    return true;
}
