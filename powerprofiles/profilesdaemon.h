// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What power-profiles-daemon says, kept from its PropertiesChanged signals:
// the profiles it offers in its order, the one in force, who holds one and
// why performance is degraded. Read once with a bound when made, read again
// (without waiting) when the daemon's name gets a new owner, and forgotten
// when the daemon goes: a reading never waits for the daemon.

#include "machine/machine.h"

#include <QByteArray>
#include <QDBusError>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <chrono>
#include <functional>

class QDBusPendingCallWatcher;

namespace powerprofiles {

// How long one call to the daemon may take.
inline constexpr std::chrono::milliseconds CallBound{2000};

struct Hold
{
    QByteArray profile;
    QString reason;
    QString applicationId;
};

struct DaemonState
{
    QList<QByteArray> profiles; // in the daemon's order
    QByteArray active;
    QList<Hold> holds;
    QString degraded; // a reason, such as lap-detected; empty: none
};

// The properties as the daemon sends them (GetAll, PropertiesChanged) taken
// into state; anything of another type or an unsafe profile id is left out.
void takeProperties(DaemonState& state, const QVariantMap& properties);

class ProfilesDaemon : public QObject
{
    Q_OBJECT

public:
    // Asks the daemon for its properties, waiting at most CallBound.
    explicit ProfilesDaemon(machine::BusObject object, QObject* parent = nullptr);

    const DaemonState& state() const { return m_state; }
    // Sets ActiveProfile, within CallBound. Once the daemon has answered,
    // ended(error) comes in context's thread (error invalid when it took the
    // profile), the kept state showing the profile already then, before
    // the daemon's signal; with context gone, nothing is told.
    void setActive(const QByteArray& profile, QObject* context,
                   std::function<void(const QDBusError& error)> ended);

signals:
    void changed();

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated);
    void ownerChanged(const QString& service, const QString& oldOwner, const QString& newOwner);
    void allRead(QDBusPendingCallWatcher* call);

private:
    void readAll();
    void takeReading(const QDBusMessage& reply);

    machine::BusObject m_object;
    DaemonState m_state;
};

} // namespace powerprofiles
