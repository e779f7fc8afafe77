// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QPixmap>
#include <QString>

/// A 16-pixel icon from the desktop's icon theme. KDE 3 icon names ("exit",
/// "fileclose", ...) are mapped to today's freedesktop names; a null pixmap
/// when the theme has no such icon.
OVRADESKTOP_EXPORT QPixmap SmallIcon(const QString& name);
