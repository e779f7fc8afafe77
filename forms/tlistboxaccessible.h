// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What assistive technology reads of a TListBox: a list whose children are
// its rows, each a list item named by its text, selectable (the selection is
// the row under the pointer), focused when it is the list's current row, and
// checked when the list's owner says so. The rows are painted by the owner,
// so Qt's own item-view interfaces, which read the item delegate's data, are
// not used.

#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class TListBox;

class TListBoxAccessible : public QAccessibleWidget
{
public:
    explicit TListBoxAccessible(TListBox* list);
    ~TListBoxAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    TListBox* list() const;

    // Row interfaces live in Qt's accessibility cache, which owns them; the
    // list keeps their ids and releases them with itself.
    mutable QHash<int, QAccessible::Id> m_rows;
};

class TListBoxRowAccessible : public QAccessibleInterface
{
public:
    TListBoxRowAccessible(TListBox* list, int row);

    int row() const { return m_row; }
    bool belongsTo(const TListBox* list) const { return m_list == list; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QPointer<TListBox> m_list;
    int m_row;
};
