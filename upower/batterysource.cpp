// SPDX-License-Identifier: GPL-2.0-or-later
#include "batterysource.h"

#include "bayreading.h"
#include "propertymap.h"

#include "machine/buscall.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

#include <vector>

namespace upower {

namespace {

const QString DeviceInterface = QStringLiteral("org.freedesktop.UPower.Device");

// The object paths of EnumerateDevices's answer.
QList<QDBusObjectPath> pathsIn(const QDBusMessage& reply)
{
    const QVariantList arguments = reply.arguments();
    if (arguments.isEmpty()) {
        return {};
    }
    const QVariant first = arguments.first();
    if (first.userType() == qMetaTypeId<QDBusArgument>()) {
        const QDBusArgument argument = first.value<QDBusArgument>();
        if (argument.currentSignature() == QLatin1String("ao")) {
            return qdbus_cast<QList<QDBusObjectPath>>(argument);
        }
    }
    return {};
}

// The property map of GetAll's answer.
QVariantMap propertiesIn(const QDBusMessage& reply)
{
    const QVariantList arguments = reply.arguments();
    if (arguments.isEmpty() || arguments.first().userType() != qMetaTypeId<QDBusArgument>()) {
        return {};
    }
    const QDBusArgument argument = arguments.first().value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a{sv}")) {
        return {};
    }
    return qdbus_cast<QVariantMap>(argument);
}

} // namespace

BatterySource::BatterySource(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus), m_upower(machine::upower()),
      m_watcher(new QDBusServiceWatcher(m_upower.service, m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this))
{
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &BatterySource::ownerChanged);
    // Any object's changes: the manager's and each device's. Only UPower's
    // owner of the moment is heard.
    m_bus.connect(m_upower.service, QString(), machine::PropertiesInterface,
                  QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    m_bus.connect(m_upower.service, m_upower.path, m_upower.interface,
                  QStringLiteral("DeviceAdded"), this, SLOT(deviceAdded(QDBusObjectPath)));
    m_bus.connect(m_upower.service, m_upower.path, m_upower.interface,
                  QStringLiteral("DeviceRemoved"), this, SLOT(deviceRemoved(QDBusObjectPath)));
    fetchAll();
}

BatterySource::~BatterySource() = default;

batteries::PowerReading BatterySource::powerSource()
{
    batteries::PowerReading reading;
    reading.source = m_powerSource;
    return reading;
}

batteries::Bay BatterySource::bay(int index)
{
    if (index < 0 || index >= int(m_bays.size())) {
        return batteries::Bay();
    }
    return m_bays[std::size_t(index)];
}

void BatterySource::ownerChanged(const QString&, const QString&, const QString& newOwner)
{
    // Gone, or started anew: what the earlier owner told no longer holds.
    if (newOwner.isEmpty()) {
        ++m_generation;
        m_onBattery.reset();
        m_devices.clear();
        update();
        return;
    }
    fetchAll();
}

void BatterySource::propertiesChanged(const QString& interface,
                                      const QVariantMap& changedProperties,
                                      const QStringList& invalidated, const QDBusMessage& message)
{
    const QString path = message.path();
    if (path == m_upower.path && interface == m_upower.interface) {
        if (const std::optional<bool> onBattery = onBatteryIn(changedProperties)) {
            m_onBattery = onBattery;
            update();
        }
        return;
    }
    const auto device = m_devices.find(path);
    if (interface != DeviceInterface || device == m_devices.end()) {
        return;
    }
    takeDeviceProperties(device->second, changedProperties);
    update();
    if (!invalidated.isEmpty()) {
        fetchDevice(path);
    }
}

void BatterySource::deviceAdded(const QDBusObjectPath& path)
{
    if (m_devices.size() < MostDevices &&
        m_devices.emplace(path.path(), DeviceProperties()).second) {
        fetchDevice(path.path());
    }
}

void BatterySource::deviceRemoved(const QDBusObjectPath& path)
{
    if (m_devices.erase(path.path()) > 0) {
        update();
    }
}

void BatterySource::ask(const QString& path, const QString& interface, const QString& method,
                        const QVariantList& arguments, Answer answer)
{
    QDBusMessage call = QDBusMessage::createMethodCall(m_upower.service, path, interface, method);
    call.setArguments(arguments);
    auto* watcher =
        new QDBusPendingCallWatcher(m_bus.asyncCall(call, int(ReplyBound.count())), this);
    const std::uint64_t generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, answer = std::move(answer)](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusMessage reply = finished->reply();
                if (generation == m_generation && reply.type() == QDBusMessage::ReplyMessage) {
                    answer(reply);
                }
            });
}

void BatterySource::fetchAll()
{
    ++m_generation;
    m_onBattery.reset();
    m_devices.clear();
    update();
    ask(m_upower.path, machine::PropertiesInterface, QStringLiteral("GetAll"), {m_upower.interface},
        [this](const QDBusMessage& reply) {
            if (const std::optional<bool> onBattery = onBatteryIn(propertiesIn(reply))) {
                m_onBattery = onBattery;
                update();
            }
        });
    ask(m_upower.path, m_upower.interface, QStringLiteral("EnumerateDevices"), {},
        [this](const QDBusMessage& reply) { takeDevices(reply); });
}

void BatterySource::takeDevices(const QDBusMessage& reply)
{
    for (const QDBusObjectPath& path : pathsIn(reply)) {
        deviceAdded(path);
    }
}

void BatterySource::fetchDevice(const QString& path)
{
    ask(path, machine::PropertiesInterface, QStringLiteral("GetAll"), {DeviceInterface},
        [this, path](const QDBusMessage& reply) {
            const auto device = m_devices.find(path);
            if (device == m_devices.end()) {
                return; // removed meanwhile
            }
            takeDeviceProperties(device->second, propertiesIn(reply));
            device->second.received = true;
            update();
        });
}

void BatterySource::update()
{
    std::vector<DeviceProperties> devices;
    devices.reserve(m_devices.size());
    for (const auto& device : m_devices) {
        devices.push_back(device.second);
    }
    m_bays = baysOf(devices, m_onBattery);
    const batteries::PowerSource source = powerSourceOf(m_onBattery);
    Q_EMIT changed();
    if (source != m_powerSource) {
        m_powerSource = source;
        Q_EMIT powerSourceChanged(source);
    }
}

} // namespace upower
