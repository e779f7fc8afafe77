// SPDX-License-Identifier: GPL-2.0-or-later
#include "desktopnotice.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

namespace notify {

namespace {

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString busName = QStringLiteral("org.freedesktop.DBus");

// A service runs under the name, or the bus knows how to start one.
bool serviceReachable(const QDBusConnection& bus, std::chrono::milliseconds bound)
{
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(serviceName);
    if (registered.isValid() && registered.value()) {
        return true;
    }
    QDBusMessage query =
        QDBusMessage::createMethodCall(busName, QStringLiteral("/org/freedesktop/DBus"), busName,
                                       QStringLiteral("ListActivatableNames"));
    const QDBusReply<QStringList> activatable = bus.call(query, QDBus::Block, int(bound.count()));
    return activatable.isValid() && activatable.value().contains(serviceName);
}

// Notification services read the body as markup; the body is text (scheme
// and file names among it), so the three characters markup gives a meaning
// to are sent as entities and shown as they are.
QString escapedBody(const QString& body)
{
    QString escaped;
    escaped.reserve(body.size());
    for (const QChar c : body) {
        if (c == QLatin1Char('&')) {
            escaped += QStringLiteral("&amp;");
        } else if (c == QLatin1Char('<')) {
            escaped += QStringLiteral("&lt;");
        } else if (c == QLatin1Char('>')) {
            escaped += QStringLiteral("&gt;");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QDBusMessage notifyCall(const DesktopNotice& notice)
{
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, objectPath, serviceName,
                                                       QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(notice.urgency)));
    const uint replacesId = 0;
    const int expireTimeout = -1; // the service's own default
    call << notice.appName << replacesId << notice.icon << notice.summary
         << escapedBody(notice.body) << QStringList() << hints << expireTimeout;
    return call;
}

} // namespace

bool deliver(const DesktopNotice& notice, std::chrono::milliseconds bound)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !serviceReachable(bus, bound)) {
        return false;
    }
    const QDBusMessage reply = bus.call(notifyCall(notice), QDBus::Block, int(bound.count()));
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace notify
