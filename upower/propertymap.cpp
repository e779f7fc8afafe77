// SPDX-License-Identifier: GPL-2.0-or-later
#include "propertymap.h"

#include <QDBusVariant>

namespace upower {

namespace {

// The value under name, unwrapped when it came as a D-Bus variant.
QVariant valueOf(const QVariantMap& properties, const QString& name)
{
    const QVariant value = properties.value(name);
    if (value.userType() == qMetaTypeId<QDBusVariant>()) {
        return value.value<QDBusVariant>().variant();
    }
    return value;
}

template <typename T>
void take(const QVariantMap& properties, const char* name, int metaType, T& into)
{
    const QVariant value = valueOf(properties, QLatin1String(name));
    if (value.userType() == metaType) {
        into = value.value<T>();
    }
}

} // namespace

void takeDeviceProperties(DeviceProperties& device, const QVariantMap& properties)
{
    quint32 type = device.type;
    quint32 state = device.state;
    qint64 timeToEmpty = device.timeToEmpty;
    qint64 timeToFull = device.timeToFull;
    take(properties, "Type", QMetaType::UInt, type);
    take(properties, "PowerSupply", QMetaType::Bool, device.powerSupply);
    take(properties, "IsPresent", QMetaType::Bool, device.isPresent);
    take(properties, "Percentage", QMetaType::Double, device.percentage);
    take(properties, "State", QMetaType::UInt, state);
    take(properties, "TimeToEmpty", QMetaType::LongLong, timeToEmpty);
    take(properties, "TimeToFull", QMetaType::LongLong, timeToFull);
    take(properties, "Energy", QMetaType::Double, device.energy);
    take(properties, "EnergyFull", QMetaType::Double, device.energyFull);
    device.type = type;
    device.state = state;
    device.timeToEmpty = timeToEmpty;
    device.timeToFull = timeToFull;
}

std::optional<bool> onBatteryIn(const QVariantMap& properties)
{
    const QVariant value = valueOf(properties, QStringLiteral("OnBattery"));
    if (value.userType() != QMetaType::Bool) {
        return std::nullopt;
    }
    return value.toBool();
}

} // namespace upower
