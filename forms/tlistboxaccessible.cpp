// SPDX-License-Identifier: GPL-2.0-or-later
#include "tlistboxaccessible.h"

#include "tlistbox.h"

#include <QWindow>

TListBoxAccessible::TListBoxAccessible(TListBox* list) : QAccessibleWidget(list, QAccessible::List)
{
}

TListBoxAccessible::~TListBoxAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_rows)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

TListBox* TListBoxAccessible::list() const
{
    return static_cast<TListBox*>(widget());
}

int TListBoxAccessible::childCount() const
{
    return list()->count();
}

QAccessibleInterface* TListBoxAccessible::child(int index) const
{
    if (index < 0 || index >= list()->count()) {
        return nullptr;
    }
    // A row's interface stands for a position in the list: its text and
    // states are read live, so it stays right when the rows are refilled.
    const auto known = m_rows.constFind(index);
    if (known != m_rows.constEnd()) {
        return QAccessible::accessibleInterface(*known);
    }
    auto* row = new TListBoxRowAccessible(list(), index);
    m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int TListBoxAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* row = dynamic_cast<const TListBoxRowAccessible*>(child);
    return row && row->belongsTo(list()) && row->isValid() ? row->row() : -1;
}

QAccessibleInterface* TListBoxAccessible::childAt(int x, int y) const
{
    const int row = list()->itemAtPos(list()->screenToViewport(QPoint(x, y)));
    return row < 0 ? nullptr : child(row);
}

QAccessibleInterface* TListBoxAccessible::focusChild() const
{
    if (!list()->hasFocus()) {
        return nullptr;
    }
    return child(list()->currentRow());
}

TListBoxRowAccessible::TListBoxRowAccessible(TListBox* list, int row) : m_list(list), m_row(row)
{
}

bool TListBoxRowAccessible::isValid() const
{
    return m_list && m_row < m_list->count();
}

QWindow* TListBoxRowAccessible::window() const
{
    return m_list ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TListBoxRowAccessible::parent() const
{
    return m_list ? QAccessible::queryAccessibleInterface(m_list) : nullptr;
}

QString TListBoxRowAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid()) {
        return QString();
    }
    return m_list->item(m_row)->text();
}

QRect TListBoxRowAccessible::rect() const
{
    if (!isValid()) {
        return QRect();
    }
    // The whole width of the row, as it is painted and as it takes clicks.
    const QWidget* viewport = m_list->viewport();
    const QRect item = m_list->visualItemRect(m_list->item(m_row));
    const QRect row(0, item.top(), viewport->width(), item.height());
    return QRect(m_list->viewportToScreen(row.topLeft()), row.size());
}

QAccessible::State TListBoxRowAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const QWidget* viewport = m_list->viewport();
    const QRect item = m_list->visualItemRect(m_list->item(m_row));
    if (!m_list->isVisible() || !viewport->rect().intersects(item)) {
        s.invisible = true;
        s.offscreen = true;
    }
    s.selectable = true;
    s.selected = m_list->item(m_row)->isSelected();
    s.focusable = m_list->focusPolicy() != Qt::NoFocus;
    s.focused = m_list->hasFocus() && m_list->currentRow() == m_row;
    s.checkable = m_list->hasCheckableRows();
    s.checked = m_list->isRowChecked(m_row);
    return s;
}
