// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The few places where Qt 5.15 and Qt 6 differ, for the code that builds on
// both (the desktop layer, the applets and the LXQt plugin). Everything else
// uses API that both versions share.

#include <QMouseEvent>
#include <QPoint>

namespace OvraQt {

/// The pointer's position on the screen when the mouse event happened.
inline QPoint globalPos(const QMouseEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->globalPosition().toPoint();
#else
    return event->globalPos();
#endif
}

} // namespace OvraQt
