// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over panelhost's configuration file panelhostrc
// (desktop/panelhost/panelconfig): read, each applet's configuration file kept
// or replaced as the panel restores it, written and read again. The input
// is the file's bytes. Qt's INI reader is not instrumented: the coverage
// that guides this target is what the panel's code does with the values.
#include "fuzzcheck.h"
#include "scratchfile.h"

#include "desktop/panelhost/panelconfig.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>

namespace {

using fuzzcheck::require;

// QSettings keeps the files it has read and tells a changed file by its size
// and modification time only: every run gives the file a time of its own.
// (Files of new names would grow that cache, and libFuzzer would look for
// a leak after every run.)
QString inputFile(const QByteArray& bytes)
{
    static qint64 runs = 0;
    const QString path = fuzzcheck::writeScratchFile(QStringLiteral("panelhostrc"), bytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(QDateTime::fromSecsSinceEpoch(++runs),
                                                              QFileDevice::FileModificationTime)) {
        qFatal("fuzz: cannot set the time of %s", qPrintable(path));
    }
    return path;
}

// The configuration files the panel gives the applets it restores: the one
// each had when the panel may keep it, a new one otherwise. The panel
// deletes an applet's file with it, so each must lie in the folder.
void checkConfigFiles(const PanelConfig& config)
{
    const QString folder = QFileInfo(fuzzcheck::scratchPath(QStringLiteral("x"))).path();
    QStringList taken;
    for (const PanelAppletEntry& applet : config.applets) {
        if (!isUsableConfigFile(applet.configFile, taken)) {
            taken << QStringLiteral("new_%1_rc").arg(taken.size());
            continue;
        }
        const QString file = QDir::cleanPath(QDir(folder).filePath(applet.configFile));
        require(QFileInfo(file).path() == folder && file != folder,
                "a kept configuration file lies in the configuration folder");
        taken << applet.configFile;
    }
    taken.removeDuplicates();
    require(taken.size() == config.applets.size(), "no two applets share a configuration file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const PanelConfig config = readPanelConfig(
        inputFile(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))));
    require(config.height >= PanelHeight::minimum && config.height <= PanelHeight::maximum,
            "the height is within the panel's bounds");
    checkConfigFiles(config);

    // Written into a file of its own, the configuration reads back.
    const QString copy = fuzzcheck::scratchPath(QStringLiteral("written"));
    QFile::remove(copy);
    writePanelConfig(copy, config);
    require(readPanelConfig(copy) == config, "a written configuration reads back");
    return 0;
}
