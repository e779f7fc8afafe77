#pragma once

#include <QPixmap>
#include <QString>

/// A 16-pixel icon from the desktop's icon theme. KDE 3 icon names ("exit",
/// "fileclose", ...) are mapped to today's freedesktop names; a null pixmap
/// when the theme has no such icon.
QPixmap SmallIcon(const QString& name);
