// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// UPower as the gauge's battery source. It asks UPower once for everything
// (the manager's OnBattery, its devices and their properties) when it is
// made and whenever org.freedesktop.UPower gets a new owner, and then keeps
// what UPower's PropertiesChanged, DeviceAdded and DeviceRemoved signals
// tell. powerSource() and bay() answer from what it keeps, without a call
// on the bus. Each question waits at most ReplyBound for its answer, never
// blocking: the answer comes to the event loop. With UPower gone it holds
// nothing: no battery, the power source unknown.

#include "deviceproperties.h"

#include "batteries/source.h"
#include "machine/machine.h"

#include <QDBusConnection>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

class QDBusMessage;
class QDBusObjectPath;
class QDBusServiceWatcher;

namespace upower {

class BatterySource final : public QObject, public batteries::Source
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds ReplyBound{1000};
    // More devices than a laptop has are not kept.
    static constexpr std::size_t MostDevices = 64;

    // UPower on the given bus (the system bus on a laptop).
    explicit BatterySource(const QDBusConnection& bus = QDBusConnection::systemBus(),
                           QObject* parent = nullptr);
    ~BatterySource() override;

    batteries::PowerReading powerSource() override;
    batteries::Bay bay(int index) override;

Q_SIGNALS:
    // What UPower tells has changed: the readings may differ.
    void changed();
    // OnBattery changed, or became unknown with UPower gone.
    void powerSourceChanged(batteries::PowerSource source);

private Q_SLOTS:
    void ownerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void propertiesChanged(const QString& interface, const QVariantMap& changedProperties,
                           const QStringList& invalidated, const QDBusMessage& message);
    void deviceAdded(const QDBusObjectPath& path);
    void deviceRemoved(const QDBusObjectPath& path);

private:
    using Answer = std::function<void(const QDBusMessage&)>;
    // Sends a call; its answer, when it comes within the bound and UPower
    // has not changed owner meanwhile, goes to answer.
    void ask(const QString& path, const QString& interface, const QString& method,
             const QVariantList& arguments, Answer answer);
    // Forgets what UPower told and asks it all again.
    void fetchAll();
    void fetchDevice(const QString& path);
    void takeDevices(const QDBusMessage& reply);
    // Makes the bays and the power source anew and says what changed.
    void update();

    QDBusConnection m_bus;
    machine::BusObject m_upower;
    QDBusServiceWatcher* m_watcher;
    // Told apart from the answers to an earlier owner's questions.
    std::uint64_t m_generation = 0;
    std::optional<bool> m_onBattery;
    std::map<QString, DeviceProperties> m_devices; // by object path
    std::array<batteries::Bay, 2> m_bays;
    batteries::PowerSource m_powerSource = batteries::PowerSource::Unknown;
};

} // namespace upower

Q_DECLARE_METATYPE(batteries::PowerSource)
