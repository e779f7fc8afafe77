// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>

/// Carries one menu item's activation, with its id, to the receiver and slot
/// given at insertion. Qt 3 slots may take the id as an int or take nothing.
class KPopupMenuItemSignal : public QObject
{
    Q_OBJECT

public:
    KPopupMenuItemSignal(int id, QObject* parent) : QObject(parent), m_id(id) {}
    void fire() { Q_EMIT activated(m_id); }

Q_SIGNALS:
    void activated(int id);

private:
    int m_id;
};
