// SPDX-License-Identifier: GPL-2.0-or-later
#include "tlistbox.h"

#include "accessiblefactory.h"

#include <QAccessible>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <utility>

namespace {

constexpr Qt::MouseButtons clickButtons = Qt::LeftButton | Qt::MiddleButton;

// Hands the painting of every row to the list's owner.
class OwnerDrawDelegate : public QStyledItemDelegate
{
public:
    explicit OwnerDrawDelegate(TListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        m_list->paintRow(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {m_list->viewport()->width(), m_list->itemHeight()};
    }

private:
    TListBox* m_list;
};

} // namespace

TListBox::TListBox(QWidget* parent) : QListWidget(parent)
{
    installAccessibleFactory();
    setItemDelegate(new OwnerDrawDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TListBox::pointerMovedByScrolling);
}

void TListBox::setItemHeight(int height)
{
    m_itemHeight = height;
    doItemsLayout();
}

int TListBox::itemIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TListBox::setItemIndex(int index)
{
    const int previous = itemIndex();
    if (index == previous) {
        return;
    }
    m_ownSelection = true;
    if (index < 0) {
        clearSelection();
    } else {
        // The current row follows (arrow keys go on from it), but the view
        // must not scroll to it: the owner selects the row under the
        // pointer, and scrolling would move another row under it.
        const bool autoScrolls = hasAutoScroll();
        setAutoScroll(false);
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        setAutoScroll(autoScrolls);
    }
    m_ownSelection = false;
    if (index < 0) {
        raiseClick(-1);
    }
}

void TListBox::setCheckedRows(std::function<bool(int)> isChecked)
{
    m_isChecked = std::move(isChecked);
}

bool TListBox::isRowChecked(int index) const
{
    return m_isChecked && index >= 0 && index < count() && m_isChecked(index);
}

void TListBox::checkedRowsChanged()
{
    if (!QAccessible::isActive()) {
        m_checkedAnnounced.clear();
        return;
    }
    // Only the rows that changed are announced: a screen reader speaks the
    // state of the row it is on again for every event about it.
    QList<bool> checked;
    checked.reserve(count());
    for (int i = 0; i < count(); ++i) {
        checked.append(isRowChecked(i));
    }
    const bool sameRows = checked.size() == m_checkedAnnounced.size();
    QAccessible::State changed;
    changed.checked = true;
    for (int i = 0; i < checked.size(); ++i) {
        if (sameRows && checked.at(i) == m_checkedAnnounced.at(i)) {
            continue;
        }
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(i);
        QAccessible::updateAccessibility(&event);
    }
    m_checkedAnnounced = checked;
}

QPoint TListBox::viewportToScreen(const QPoint& pos) const
{
    return viewport()->mapToGlobal(pos) + m_screenCorrection;
}

QPoint TListBox::screenToViewport(const QPoint& pos) const
{
    return viewport()->mapFromGlobal(pos - m_screenCorrection);
}

int TListBox::itemAtPos(const QPoint& pos) const
{
    if (!isVisible() || !viewport()->rect().contains(pos)) {
        return -1;
    }
    const QListWidgetItem* item = itemAt(pos);
    return item ? row(item) : -1;
}

void TListBox::paintRow(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index)
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&TListBox::DrawItem))) {
        static_cast<QStyledItemDelegate*>(itemDelegate())
            ->QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    int state = 0;
    if (option.state & QStyle::State_Selected) {
        state |= odSelected;
    }
    if (option.state & QStyle::State_HasFocus) {
        state |= odFocused;
    }
    const QRect rowRect(0, option.rect.top(), viewport()->width(), option.rect.height());
    painter->save();
    m_canvas = painter;
    emit DrawItem(index.row(), rowRect, state);
    m_canvas = nullptr;
    painter->restore();
}

void TListBox::raiseClick(int clickedRow)
{
    // A receiver may run a nested event loop (a message box) in which the
    // list raises Click again: each delivery sees its own clicked row.
    const int outer = std::exchange(m_clickedRow, clickedRow);
    emit Click();
    m_clickedRow = outer;
}

void TListBox::mousePressEvent(QMouseEvent* event)
{
    if (!(event->button() & clickButtons)) {
        event->accept(); // swallowed: no selection, no click
        return;
    }
    m_pressed |= event->button();
    m_pressedRow = itemAtPos(event->position().toPoint());
    QListWidget::mousePressEvent(event);
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is a second press, nothing more.
    mousePressEvent(event);
}

void TListBox::mouseMoveEvent(QMouseEvent* event)
{
    // The list's own drag selection is left out: the owner tracks the pointer.
    emit MouseMove(event->position().toPoint());
}

void TListBox::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (!(m_pressed & button)) {
        event->accept();
        return;
    }
    m_pressed &= ~Qt::MouseButtons(button);
    // The view's own release handling is left out: it would select (or
    // clear) again at the release point. Rows are selected by presses only.
    const QPoint pos = event->position().toPoint();
    if (viewport()->rect().contains(pos)) {
        const int row = itemAtPos(pos);
        raiseClick(row == m_pressedRow ? row : -1);
    }
}

void TListBox::leaveEvent(QEvent* event)
{
    QListWidget::leaveEvent(event);
    emit MouseLeave();
}

void TListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QListWidget::selectionChanged(selected, deselected);
    if (!m_ownSelection) {
        raiseClick(-1);
    }
}

bool TListBox::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        notePointer(static_cast<const QSinglePointEvent*>(event));
        break;
    case QEvent::Leave:
        m_pointer.reset();
        break;
    default:
        break;
    }
    return QListWidget::viewportEvent(event);
}

void TListBox::notePointer(const QSinglePointEvent* event)
{
    // Enter events are left out: Qt computes their local position by
    // mapping through the window.
    const QPoint pos = event->position().toPoint();
    m_pointer = pos;
    m_screenCorrection = event->globalPosition().toPoint() - viewport()->mapToGlobal(pos);
}

void TListBox::pointerMovedByScrolling()
{
    // Scrolling moves the rows under a resting pointer: report the pointer
    // where it now lies over the rows.
    if (viewport()->underMouse() && m_pointer) {
        emit MouseMove(*m_pointer);
    }
}
