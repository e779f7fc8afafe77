// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "dcopobject.h"

#include <QDBusVirtualObject>

class DCOPClient;

/// Exports the DCOP objects of one object id as the D-Bus object "/OBJID"
/// with the interface "org.kde.DCOP.OBJID", whose methods are the entries of
/// the object's functions() list. Calls are handed to the client, which runs
/// them one at a time.
class DCOPObjectAdaptor : public QDBusVirtualObject
{
    Q_OBJECT

public:
    DCOPObjectAdaptor(const QCString& objId, DCOPClient* client);
    ~DCOPObjectAdaptor() override;

    QString path() const { return m_path; }
    QString interfaceName() const { return m_interface; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

    /// Runs one call against the object now answering for the id and sends the reply.
    void deliver(const QDBusMessage& message, const QDBusConnection& connection);

private:
    QCString m_objId;
    QString m_path;
    QString m_interface;
    DCOPClient* m_client;
};
