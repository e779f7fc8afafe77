// SPDX-License-Identifier: GPL-2.0-or-later
#include "powersourceprobe.h"

#include "bayreading.h"
#include "propertymap.h"

#include "machine/machine.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace upower {

batteries::PowerReading PowerSourceProbe::powerSource()
{
    batteries::PowerReading reading;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return reading;
    }
    const machine::BusObject manager = machine::upower();
    QDBusMessage get = QDBusMessage::createMethodCall(
        manager.service, manager.path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << manager.interface << QStringLiteral("OnBattery");
    const QDBusMessage reply = bus.call(get, QDBus::Block, int(Bound.count()));
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        const QVariantMap answer{{QStringLiteral("OnBattery"), reply.arguments().first()}};
        reading.source = powerSourceOf(onBatteryIn(answer));
    }
    return reading;
}

batteries::Bay PowerSourceProbe::bay(int)
{
    return batteries::Bay();
}

} // namespace upower
