// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QKeySequence>
#include <QMap>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QString>

class QAction;

/// A popup menu addressed by item ids, as Qt 3 menus were. Every insert returns
/// the item's id; id -1 asks for an automatic one (negative, unique in the
/// process, so it never clashes with small positive ids chosen by callers).
/// An index of -1 or beyond the end appends.
class OVRADESKTOP_EXPORT KPopupMenu : public QMenu
{
    Q_OBJECT

public:
    explicit KPopupMenu(QWidget* parent = nullptr, const char* name = nullptr);
    ~KPopupMenu() override;

    int insertTitle(const QPixmap& icon, const QString& text, int id = -1, int index = -1);
    int insertTitle(const QString& text, int id = -1, int index = -1);
    int insertItem(const QString& text, const QObject* receiver, const char* member,
                   const QKeySequence& accel = 0, int id = -1, int index = -1);
    int insertItem(const QPixmap& icon, const QString& text, const QObject* receiver,
                   const char* member, const QKeySequence& accel = 0, int id = -1, int index = -1);
    int insertItem(const QString& text, QMenu* popup, int id = -1, int index = -1);
    int insertItem(const QString& text, int id = -1, int index = -1);
    void insertSeparator(int index = -1);

    void removeItem(int id);
    void clear();

    /// The item's text, or a null QString when no item has this id.
    QString text(int id) const;
    void changeItem(int id, const QString& text);
    /// Only this sets an item's check mark: choosing an item leaves its mark
    /// as it is, as in Qt 3 menus (a checkable QAction would toggle it).
    void setItemChecked(int id, bool checked);
    bool isItemChecked(int id) const;
    void setItemEnabled(int id, bool enabled);
    bool isItemEnabled(int id) const;
    int count() const;
    /// Id of the item at menu position index, -1 when there is none.
    int idAt(int index) const;
    /// Menu position of the item, -1 when there is no item with this id.
    int indexOf(int id) const;
    /// The QAction behind an item, for code that needs Qt's own API.
    QAction* actionForId(int id) const;

    /// Opens the menu at the global position; indexAtPoint names the item
    /// placed under the pointer (-1: none).
    void popup(const QPoint& pos, int indexAtPoint = -1);

Q_SIGNALS:
    /// An item of this menu (not of a submenu) was chosen.
    void activated(int id);
    /// The pointer or keyboard moved onto an item of this menu.
    void highlighted(int id);

private:
    struct Item
    {
        QPointer<QAction> action;
        QString text;
        bool owned = true; // false for a submenu's action, which the submenu owns
        bool checked = false;
    };

    int claimId(int id);
    int addItem(QAction* action, const QString& text, bool owned, int id, int index);
    void placeAction(QAction* action, int index);
    int idOf(const QAction* action) const;
    void forgetItem(int id);
    void keepCheckMark(int id);

    QMap<int, Item> m_items;
};
