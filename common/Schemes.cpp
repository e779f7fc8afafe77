// SPDX-License-Identifier: GPL-2.0-or-later
// Power schemes: the list offered, the product's copies, and activation.
#include "PowersavePaths.h"
#include "RawFile.h"
#include "UPMComm.h"

#include <memory>

#include <dirent.h>
#include <fnmatch.h>

namespace {

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};
using Directory = std::unique_ptr<DIR, DirCloser>;

} // namespace

QList<QByteArray> ListSchemes()
{
    // Directory order, not sorted: the order the daemon's directory yields.
    QList<QByteArray> names;
    const Directory dir(opendir(powersave::SchemeDir));
    if (!dir) {
        return names;
    }
    while (const dirent* entry = readdir(dir.get())) {
        if (fnmatch(powersave::SchemePattern, entry->d_name, 0) != 0) {
            continue;
        }
        const QByteArray name = QByteArray(entry->d_name).mid(powersave::SchemeFileHeadLength);
        if (SchemeAvailable(name)) {
            names.append(name);
        }
    }
    return names;
}

bool SchemeAvailable(const QByteArray& name)
{
    return FileExists(powersave::ProductSchemePrefix + name);
}

void WriteSchemes(const std::optional<QByteArray>& acScheme,
                  const std::optional<QByteArray>& batteryScheme)
{
    UpdateSchemeKeys(acScheme, batteryScheme);
    if (!ExecCmd(powersave::ReloadCommand)) {
        ExecCmd(powersave::StartCommand);
    }
    ExecCmd(powersave::IdletimeRestartCommand);
}
