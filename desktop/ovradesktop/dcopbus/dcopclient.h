// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include "dcopobject.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>

class DCOPObjectAdaptor;

/// The process's connection to DCOP, carried over the D-Bus session bus: the
/// application registers as the service "org.kde.APPNAME" ("-PID" appended
/// when another process holds the name) and each DCOP object is exported as
/// the D-Bus object "/OBJID". Calls run on the GUI thread, one at a time.
class OVRADESKTOP_EXPORT DCOPClient : public QObject
{
    Q_OBJECT

public:
    /// The process's client, created on first use.
    static DCOPClient* mainClient();

    /// Registers the application name; returns the name registered (with
    /// "-PID" when asked for or when another process holds the plain one),
    /// empty when there is no session bus.
    QCString registerAs(const QCString& appId, bool addPID = false);
    bool isRegistered() const { return !m_appId.isEmpty(); }
    QCString appId() const { return m_appId; }
    /// The D-Bus service name the application is reachable under.
    QString serviceName() const;

    /// The object answering calls to objId, or null.
    DCOPObject* findObject(const QCString& objId) const;
    QCStringList objectIds() const;

    /// Called by DCOPObject; objects sharing an id stack up, the newest answers.
    void attach(DCOPObject* object);
    void detach(DCOPObject* object);

    /// Called by the adaptors: runs a call now, or after the one in progress.
    void enqueue(DCOPObjectAdaptor* adaptor, const QDBusMessage& message,
                 const QDBusConnection& connection);

    /// An id as a D-Bus name element: characters D-Bus does not allow become '_'.
    static QString busElement(const QCString& id);
    /// The D-Bus service name of an application id: "org.kde." and the id,
    /// in which only characters that bus names do not allow become '_' (bus
    /// names, unlike paths and interface names, allow '-', as in "lxqt-panel").
    static QString serviceFor(const QCString& appId);

private:
    struct PendingCall
    {
        QPointer<DCOPObjectAdaptor> adaptor;
        QDBusMessage message;
        QDBusConnection connection;
    };

    DCOPClient();
    ~DCOPClient() override;
    void ensureRegistered();
    void runPending();

    QCString m_appId;
    QString m_service;
    QMap<QCString, QList<DCOPObject*>> m_objects;
    QMap<QCString, DCOPObjectAdaptor*> m_adaptors;
    QList<PendingCall> m_pending;
    bool m_busy = false;
};
