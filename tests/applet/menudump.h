// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Describes a popup menu as lines, for comparing a menu's layout in tests:
// "title: TEXT", "[x] TEXT" for a checked entry, "TEXT" for an unchecked one,
// "TEXT >" for a submenu, "---" for a separator.

#include <kpopupmenu.h>

#include <QAction>
#include <QStringList>

inline QStringList menuLines(const KPopupMenu* menu)
{
    QStringList lines;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines << QStringLiteral("---");
        } else if (!action->isEnabled()) {
            lines << QStringLiteral("title: ") + action->text();
        } else if (action->menu()) {
            lines << action->text() + QStringLiteral(" >");
        } else if (action->isChecked()) {
            lines << QStringLiteral("[x] ") + action->text();
        } else {
            lines << action->text();
        }
    }
    return lines;
}

// The id of the entry with this text, -1 when there is none.
inline int menuId(const KPopupMenu* menu, const QString& text)
{
    for (int i = 0; i < menu->count(); ++i) {
        const int id = menu->idAt(i);
        if (id != -1 && menu->text(id) == text) {
            return id;
        }
    }
    return -1;
}
