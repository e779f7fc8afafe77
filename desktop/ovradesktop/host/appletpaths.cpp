// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletpaths.h"

#include "installpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace {

QStringList existingUnique(const QStringList& candidates)
{
    QStringList dirs;
    for (const QString& candidate : candidates) {
        const QString canonical = QFileInfo(candidate).canonicalFilePath();
        if (!canonical.isEmpty() && QFileInfo(canonical).isDir() && !dirs.contains(canonical)) {
            dirs << canonical;
        }
    }
    return dirs;
}

QString programDir()
{
    return QCoreApplication::applicationDirPath();
}

struct SearchDirs
{
    QStringList data;
    QStringList plugins;
};

SearchDirs& prependedDirs()
{
    static SearchDirs dirs;
    return dirs;
}

} // namespace

void AppletPaths::prependSearchDirs(const QStringList& dataDirs, const QStringList& pluginDirs)
{
    prependedDirs().data = dataDirs + prependedDirs().data;
    prependedDirs().plugins = pluginDirs + prependedDirs().plugins;
}

QStringList AppletPaths::dataDirs()
{
    return existingUnique(
        prependedDirs().data +
        QStringList{
            programDir() + QStringLiteral("/../share/ovra/applets"),
            programDir() + QLatin1Char('/') + QStringLiteral(OVRA_RELATIVE_APPLET_DATADIR),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/ovra/applets"),
            QStringLiteral(OVRA_INSTALL_APPLET_DATADIR),
        });
}

QStringList AppletPaths::pluginDirs()
{
    return existingUnique(
        prependedDirs().plugins +
        QStringList{
            programDir() + QStringLiteral("/../lib"),
            programDir() + QLatin1Char('/') + QStringLiteral(OVRA_RELATIVE_APPLET_PLUGINDIR),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/../lib/ovra/applets"),
            QStringLiteral(OVRA_INSTALL_APPLET_PLUGINDIR),
        });
}

QString AppletPaths::findEntry(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        return QString();
    }
    QStringList names{name};
    if (!name.endsWith(QLatin1String(".desktop"))) {
        names << name + QStringLiteral(".desktop");
    }
    for (const QString& dir : dataDirs()) {
        for (const QString& candidate : names) {
            const QFileInfo entry(QDir(dir).filePath(candidate));
            if (entry.isFile()) {
                return entry.absoluteFilePath();
            }
        }
    }
    return QString();
}

QString AppletPaths::findEntryOrFile(const QString& nameOrPath)
{
    if (nameOrPath.isEmpty()) {
        return QString();
    }
    if (!nameOrPath.contains(QLatin1Char('/'))) {
        const QString entry = findEntry(nameOrPath);
        if (!entry.isEmpty()) {
            return entry;
        }
    }
    const QFileInfo file(nameOrPath);
    return file.isFile() ? file.absoluteFilePath() : QString();
}

QString AppletPaths::findLibrary(const QString& library)
{
    if (library.isEmpty() || library.contains(QLatin1Char('/'))) {
        return QString();
    }
    for (const QString& dir : pluginDirs()) {
        const QDir folder(dir);
        // The plain name first (as given or with .so), then a versioned file.
        for (const QString& name : {library, library + QStringLiteral(".so")}) {
            if (QFileInfo(folder.filePath(name)).isFile()) {
                return folder.filePath(name);
            }
        }
        const QStringList versioned =
            folder.entryList({library + QStringLiteral(".so.*")}, QDir::Files, QDir::Name);
        if (!versioned.isEmpty()) {
            return folder.filePath(versioned.constFirst());
        }
    }
    return QString();
}

QList<AppletInfo> AppletPaths::available()
{
    QList<AppletInfo> applets;
    QSet<QString> seen;
    for (const QString& dir : dataDirs()) {
        const QStringList entries =
            QDir(dir).entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString& name : entries) {
            if (seen.contains(name)) {
                continue;
            }
            const AppletInfo info = AppletInfo::load(QDir(dir).filePath(name));
            seen.insert(name);
            if (!info.isValid() || info.hidden) {
                continue;
            }
            applets << info;
        }
    }
    return applets;
}
