// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletinfo.h"

#include "kconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

QString AppletInfo::entryName() const
{
    return QFileInfo(desktopFile).fileName();
}

QString AppletInfo::configStem() const
{
    QString stem = QFileInfo(library).fileName();
    if (stem.startsWith(QLatin1String("lib"))) {
        stem = stem.mid(3);
    }
    const int dot = stem.indexOf(QLatin1Char('.'));
    if (dot > 0) {
        stem.truncate(dot);
    }
    // A name that starts with ":" would be a Qt resource path, outside the
    // configuration folder.
    return stem.isEmpty() || stem.startsWith(QLatin1Char(':')) ? QStringLiteral("applet") : stem;
}

QString AppletInfo::newConfigFileName(const QStringList& taken) const
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    for (;;) {
        QString suffix;
        for (int i = 0; i < 8; ++i) {
            suffix += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(36)]);
        }
        const QString fileName = configStem() + QLatin1Char('_') + suffix + QStringLiteral("_rc");
        if (!taken.contains(fileName) && !QFileInfo::exists(folder.filePath(fileName))) {
            return fileName;
        }
    }
}

AppletInfo AppletInfo::load(const QString& path, QString* error)
{
    AppletInfo info;
    const auto fail = [&](const QString& why) {
        if (error) {
            *error = why;
        }
        return AppletInfo();
    };

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    }
    file.close();

    // The [Desktop Entry] group's plain (unlocalised) keys.
    const QString entryGroup = QStringLiteral("Desktop Entry");
    KConfig entry(QFileInfo(path).absoluteFilePath());
    if (!entry.hasGroup(entryGroup)) {
        return fail(
            QStringLiteral("%1 is not a desktop entry (no [Desktop Entry] group)").arg(path));
    }
    entry.setGroup(entryGroup);
    info.name = entry.readEntry(QStringLiteral("Name"));
    info.comment = entry.readEntry(QStringLiteral("Comment"));
    info.icon = entry.readEntry(QStringLiteral("Icon"));
    info.library = entry.readEntry(QStringLiteral("X-KDE-Library"));
    info.hidden = entry.readEntry(QStringLiteral("NoDisplay")) == QLatin1String("true") ||
                  entry.readEntry(QStringLiteral("Hidden")) == QLatin1String("true");
    if (info.library.isEmpty()) {
        return fail(QStringLiteral("%1 names no applet library (X-KDE-Library)").arg(path));
    }
    info.desktopFile = QFileInfo(path).absoluteFilePath();
    if (info.name.isEmpty()) {
        info.name = QFileInfo(path).completeBaseName();
    }
    return info;
}
