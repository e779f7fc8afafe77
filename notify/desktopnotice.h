// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A notice for the user, shown by the desktop's notification service
// (org.freedesktop.Notifications on the session bus).

#include <QString>

#include <chrono>

namespace notify {

// The urgency hint of the notification protocol.
enum class Urgency
{
    Low = 0,
    Normal = 1,
    Critical = 2
};

struct DesktopNotice
{
    QString appName; // the program the notice comes from
    QString summary; // one line
    QString body;    // plain text: sent with &, < and > escaped, as the service reads markup
    QString icon;    // an icon name of the desktop's theme, or empty
    Urgency urgency = Urgency::Normal;
};

// How long a notification service may take to answer.
inline constexpr std::chrono::milliseconds DeliveryBound{1500};

// Hands the notice to the notification service and waits for its answer, at
// most bound. True when a service took it. False at once when there is no
// session bus or no service that could take it (none running, none the bus
// can start); false after the bound when the service does not answer.
bool deliver(const DesktopNotice& notice, std::chrono::milliseconds bound = DeliveryBound);

} // namespace notify
