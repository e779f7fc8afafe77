// SPDX-License-Identifier: GPL-2.0-or-later
#include "buscall.h"

#include <QDBusConnection>

namespace machine {

const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QDBusMessage propertiesCall(const BusObject& object, const QString& method)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(object.service, object.path, PropertiesInterface, method);
    call << object.interface;
    return call;
}

QDBusMessage callWithin(const QDBusMessage& call, std::chrono::milliseconds bound)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return call.createErrorReply(QDBusError::Disconnected, bus.lastError().message());
    }
    return bus.call(call, QDBus::Block, int(bound.count()));
}

} // namespace machine
