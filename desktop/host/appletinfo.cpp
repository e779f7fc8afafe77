// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTextStream>

QString AppletInfo::entryName() const
{
    return QFileInfo(desktopFile).fileName();
}

QString AppletInfo::configStem() const
{
    QString stem = QFileInfo(library).fileName();
    if (stem.startsWith(QLatin1String("lib")))
        stem = stem.mid(3);
    const int dot = stem.indexOf(QLatin1Char('.'));
    if (dot > 0)
        stem.truncate(dot);
    return stem.isEmpty() ? QStringLiteral("applet") : stem;
}

QString AppletInfo::newConfigFileName(const QStringList& taken) const
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    for (;;) {
        QString suffix;
        for (int i = 0; i < 8; ++i)
            suffix += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(36)]);
        const QString fileName = configStem() + QLatin1Char('_') + suffix + QStringLiteral("_rc");
        if (!taken.contains(fileName) && !QFileInfo::exists(folder.filePath(fileName)))
            return fileName;
    }
}

AppletInfo AppletInfo::load(const QString& path, QString* error)
{
    AppletInfo info;
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return AppletInfo();
    };

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));

    // The [Desktop Entry] group's plain (unlocalised) keys.
    QTextStream in(&file);
    bool inEntryGroup = false;
    bool sawEntryGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inEntryGroup = (line == QLatin1String("[Desktop Entry]"));
            sawEntryGroup = sawEntryGroup || inEntryGroup;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inEntryGroup || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Name"))
            info.name = value;
        else if (key == QLatin1String("Comment"))
            info.comment = value;
        else if (key == QLatin1String("Icon"))
            info.icon = value;
        else if (key == QLatin1String("X-KDE-Library"))
            info.library = value;
        else if (key == QLatin1String("NoDisplay") || key == QLatin1String("Hidden"))
            info.hidden = info.hidden || value == QLatin1String("true");
    }
    if (!sawEntryGroup)
        return fail(
            QStringLiteral("%1 is not a desktop entry (no [Desktop Entry] group)").arg(path));
    if (info.library.isEmpty())
        return fail(QStringLiteral("%1 names no applet library (X-KDE-Library)").arg(path));
    info.desktopFile = QFileInfo(path).absoluteFilePath();
    if (info.name.isEmpty())
        info.name = QFileInfo(path).completeBaseName();
    return info;
}
