// SPDX-License-Identifier: GPL-2.0-or-later
#include "kiconloader.h"

#include <QDir>
#include <QHash>
#include <QIcon>

namespace {

// KDE 3 icon names used by applets, with their freedesktop successors.
const QHash<QString, QString>& kde3IconNames()
{
    static const QHash<QString, QString> names{
        {QStringLiteral("exit"), QStringLiteral("application-exit")},
        {QStringLiteral("fileclose"), QStringLiteral("window-close")},
        {QStringLiteral("configure"), QStringLiteral("preferences-system")},
        {QStringLiteral("help"), QStringLiteral("help-contents")},
        {QStringLiteral("info"), QStringLiteral("dialog-information")},
        {QStringLiteral("messagebox_warning"), QStringLiteral("dialog-warning")},
        {QStringLiteral("editdelete"), QStringLiteral("edit-delete")},
        {QStringLiteral("remove"), QStringLiteral("list-remove")},
        {QStringLiteral("add"), QStringLiteral("list-add")},
        {QStringLiteral("run"), QStringLiteral("system-run")},
        {QStringLiteral("exec"), QStringLiteral("system-run")},
        {QStringLiteral("reload"), QStringLiteral("view-refresh")},
        {QStringLiteral("stop"), QStringLiteral("process-stop")},
        {QStringLiteral("filenew"), QStringLiteral("document-new")},
        {QStringLiteral("fileopen"), QStringLiteral("document-open")},
        {QStringLiteral("filesave"), QStringLiteral("document-save")},
        {QStringLiteral("battery"), QStringLiteral("battery")},
        {QStringLiteral("kcmprocessor"), QStringLiteral("cpu")},
    };
    return names;
}

// Without a desktop session Qt knows no icon theme; fall back to one that is
// installed so that applets still get their icons.
void ensureFallbackTheme()
{
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor")) {
        return;
    }
    for (const char* theme : {"breeze", "Adwaita", "Papirus", "oxygen", "gnome", "Tango"}) {
        for (const QString& base : QIcon::themeSearchPaths()) {
            if (QDir(base + QLatin1Char('/') + QLatin1String(theme)).exists()) {
                QIcon::setFallbackThemeName(QLatin1String(theme));
                return;
            }
        }
    }
}

} // namespace

QPixmap SmallIcon(const QString& name)
{
    constexpr int size = 16;
    if (name.isEmpty()) {
        return QPixmap();
    }
    ensureFallbackTheme();
    const QString modern = kde3IconNames().value(name);
    for (const QString& candidate : {modern, name}) {
        if (candidate.isEmpty() || !QIcon::hasThemeIcon(candidate)) {
            continue;
        }
        QPixmap pixmap = QIcon::fromTheme(candidate).pixmap(size, size);
        if (!pixmap.isNull()) {
            return pixmap;
        }
    }
    return QPixmap();
}
