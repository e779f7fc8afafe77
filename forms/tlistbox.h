// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A list of text rows of fixed height, drawn by its owner.
//
// Painting: for every visible row the list raises DrawItem with the row's
// index, its full-width rectangle and its state; the receiver paints the row
// on canvas(), which is valid only during that notification.
//
// The click notification (Click) is raised
//  - on a click inside the list: press and release of the left or the middle
//    button with the pointer inside the list; clickedRow() then names the row
//    that both the press and the release were on,
//  - whenever the user changes the selected row through the list's own
//    handling (arrow keys and other navigation keys, a press on a row that
//    was not selected),
//  - when the owner clears a selected row with setItemIndex(-1).
// Selecting a row with setItemIndex(i >= 0) raises nothing and never scrolls.
// Right-button presses never reach the list: they neither select nor click.
//
// The pointer moving over the list and leaving it are reported as MouseMove
// (in viewport coordinates) and MouseLeave; so is a scroll that moves the rows
// under a resting pointer.
//
// Pointer positions come from the pointer events only. Mapping a screen
// position through the top-level window is wrong whenever Qt's idea of where
// that window is has gone stale (a reparenting window manager leaves it at
// 0,0 for a frameless window), so the list learns where its viewport really
// lies on the screen from the events, which carry both positions.
//
// Assistive technology reads the rows as list items named by their text. The
// owner may have rows read as checked (what its painting marks): it names them
// with setCheckedRows and calls checkedRowsChanged whenever the answer may
// have changed, which tells assistive technology about the rows that did.

#include <QListWidget>

#include <functional>
#include <optional>

class QPainter;
class QSinglePointEvent;

class TListBox : public QListWidget
{
    Q_OBJECT
    Q_PROPERTY(int itemHeight READ itemHeight WRITE setItemHeight)

public:
    enum TOwnerDrawStateFlag
    {
        odSelected = 1,
        odFocused = 2
    };

    explicit TListBox(QWidget* parent = nullptr);

    int itemHeight() const { return m_itemHeight; }
    void setItemHeight(int height);

    // The selected row, or -1 when no row is selected.
    int itemIndex() const;
    void setItemIndex(int index);

    // The existing row at a point in viewport coordinates, or -1 (also when
    // the list is hidden: a hidden list has no rows under the pointer).
    int itemAtPos(const QPoint& pos) const;

    // While a Click raised by a mouse click is being delivered: the existing
    // row under both the press and the release, from the events' own
    // positions. -1 during every other Click (keys, selection changes,
    // setItemIndex(-1)) and outside Click.
    int clickedRow() const { return m_clickedRow; }

    // Viewport points to screen points and back, through the viewport's
    // screen position as the last pointer event over it showed it (Qt's own
    // mapping until the pointer has been over the list).
    QPoint viewportToScreen(const QPoint& pos) const;
    QPoint screenToViewport(const QPoint& pos) const;

    QPainter* canvas() const { return m_canvas; }

    // Which rows are checked: asked only when assistive technology reads
    // the list, never when it paints.
    void setCheckedRows(std::function<bool(int index)> isChecked);
    bool hasCheckableRows() const { return bool(m_isChecked); }
    bool isRowChecked(int index) const;
    void checkedRowsChanged();

    // Paints one row: called by the list's item delegate.
    void paintRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index);

signals:
    void Click();
    void DrawItem(int index, const QRect& rect, int state);
    void MouseMove(const QPoint& pos);
    void MouseLeave();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    void pointerMovedByScrolling();
    void notePointer(const QSinglePointEvent* event);
    void raiseClick(int clickedRow);

    int m_itemHeight = 16;
    std::function<bool(int)> m_isChecked;
    QList<bool> m_checkedAnnounced; // the rows' states that assistive technology was told
    QPainter* m_canvas = nullptr;
    bool m_ownSelection = false; // the owner is changing the selection itself
    Qt::MouseButtons m_pressed;
    int m_pressedRow = -1;
    int m_clickedRow = -1;
    std::optional<QPoint> m_pointer; // over the viewport, from the last event
    QPoint m_screenCorrection;       // real screen position minus Qt's mapping
};
