// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// For the targets whose readers take a file name: a file of the given name
// in a folder of this process's own, removed at exit, that each run fills
// with its input. The folder is in memory (/dev/shm) where there is one:
// KConfig and QSettings write through QSaveFile, whose fsync on a disk
// would bound a target to a few dozen runs a second.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace fuzzcheck {

inline QString scratchPath(const QString& name)
{
    static const QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                          ? QStringLiteral("/dev/shm/ovra-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/ovra-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        qFatal("fuzz: no scratch folder: %s", qPrintable(folder.errorString()));
    }
    return QDir(folder.path()).filePath(name);
}

// Writes bytes to the scratch file name and returns its path.
inline QString writeScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = scratchPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("fuzz: cannot write the scratch file %s", qPrintable(path));
    }
    return path;
}

inline QByteArray readScratchFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("fuzz: cannot read the scratch file %s", qPrintable(path));
    }
    return file.readAll();
}

} // namespace fuzzcheck
