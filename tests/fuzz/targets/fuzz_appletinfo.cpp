// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over applet desktop entries as the hosts read them
// (desktop/ovradesktop/host/appletinfo through KConfig), and the names made from them.
// The input is the entry file's bytes.
#include "fuzzcheck.h"
#include "scratchfile.h"

#include "appletinfo.h"

#include <QDir>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>

namespace {

using fuzzcheck::require;

const QString entryName = QStringLiteral("fuzzapplet.desktop");

// A name for a file of the user's configuration folder: no other folder, no
// Qt resource (":name").
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !QDir::isAbsolutePath(name) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

void checkValid(const AppletInfo& info, const QString& path)
{
    require(!info.library.isEmpty(), "a valid entry names its library");
    require(!info.name.isEmpty(), "a valid entry has a name");
    require(info.desktopFile == QFileInfo(path).absoluteFilePath(), "an entry knows its file");
    require(info.entryName() == entryName, "an entry is named by its file");
    const QString stem = info.configStem();
    require(!stem.isEmpty() && !stem.contains(QLatin1Char('/')),
            "the configuration stem names no folder");
    const QString config = info.newConfigFileName({stem + QStringLiteral("_taken_rc")});
    require(isPlainFileName(config), "a new configuration file is a plain name");
    require(config.startsWith(stem + QLatin1Char('_')) && config.endsWith(QStringLiteral("_rc")),
            "a new configuration file is STEM_RANDOM_rc");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzzcheck::writeScratchFile(
        entryName, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    QString error;
    const AppletInfo info = AppletInfo::load(path, &error);
    if (info.isValid()) {
        checkValid(info, path);
    } else {
        require(!error.isEmpty(), "an entry that is refused says why");
    }
    return 0;
}
