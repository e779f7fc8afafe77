// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The accessibility events of a widget test, as Qt hands them to the
// platform, and whether a real accessibility bus runs.

#include <QAccessible>
#include <QList>
#include <QtGlobal>

#include <optional>

// Only the platform's bridge to the accessibility bus switches Qt's
// accessibility on; tests/support/atspi-session.sh provides that bus.
inline bool underAccessibilityBus()
{
    return qEnvironmentVariableIsSet("OVRA_ATSPI");
}

// Records the events that reach the platform while it lives, each as the
// Seen that see() makes of it, oldest first in events(); Qt's update handler
// is a plain function, so the events of one Seen type share one list. The
// handler before it is put back at its end. Given `active`, the platform's
// accessibility is switched on or off meanwhile, as a screen reader would,
// and off at its end.
template <typename Seen, Seen (*see)(QAccessibleEvent*)> class AccessibleEventRecorder
{
public:
    explicit AccessibleEventRecorder(std::optional<bool> active = std::nullopt) : m_active(active)
    {
        events().clear();
        m_previous = QAccessible::installUpdateHandler(record);
        if (m_active) {
            QAccessible::setActive(*m_active);
        }
    }
    ~AccessibleEventRecorder()
    {
        if (m_active) {
            QAccessible::setActive(false);
        }
        QAccessible::installUpdateHandler(m_previous);
        events().clear();
    }
    AccessibleEventRecorder(const AccessibleEventRecorder&) = delete;
    AccessibleEventRecorder& operator=(const AccessibleEventRecorder&) = delete;

    static QList<Seen>& events()
    {
        static QList<Seen> seen;
        return seen;
    }

private:
    static void record(QAccessibleEvent* event) { events().append(see(event)); }

    QAccessible::UpdateHandler m_previous = nullptr;
    std::optional<bool> m_active;
};
