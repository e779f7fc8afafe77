// SPDX-License-Identifier: GPL-2.0-or-later
#include "dcopclient.h"

#include "dcopobjectadaptor.h"
#include "dcoptypes.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QTimer>

#include <unistd.h>

DCOPClient* DCOPClient::mainClient()
{
    // Lives as long as the process: DCOP objects may be destroyed very late.
    static DCOPClient* client = new DCOPClient;
    return client;
}

DCOPClient::DCOPClient()
{
    DCOPTypes::registerMetaTypes();
}

DCOPClient::~DCOPClient() = default;

namespace {

QString nameElement(const QCString& id, bool allowHyphen)
{
    QString element;
    for (char c : id) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '_' || (allowHyphen && c == '-');
        element += allowed ? QLatin1Char(c) : QLatin1Char('_');
    }
    if (element.isEmpty() || element.at(0).isDigit()) {
        element.prepend(QLatin1Char('_'));
    }
    return element;
}

} // namespace

QString DCOPClient::busElement(const QCString& id)
{
    return nameElement(id, false);
}

QString DCOPClient::serviceFor(const QCString& appId)
{
    return QStringLiteral("org.kde.") + nameElement(appId, true);
}

QCString DCOPClient::registerAs(const QCString& appId, bool addPID)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        qWarning("DCOP: no D-Bus session bus, \"%s\" is not reachable", appId.constData());
        return QCString();
    }
    if (!m_service.isEmpty()) {
        bus.interface()->unregisterService(m_service);
        m_service.clear();
        m_appId.clear();
    }

    const QCString pidSuffix = '-' + QCString::number(static_cast<qlonglong>(getpid()));
    QList<QCString> attempts;
    if (!addPID) {
        attempts << appId;
    }
    attempts << appId + pidSuffix;
    for (const QCString& name : attempts) {
        const QString service = serviceFor(appId) + QString::fromLatin1(name.mid(appId.size()));
        const auto reply =
            bus.interface()->registerService(service, QDBusConnectionInterface::DontQueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
        if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_appId = name;
            m_service = service;
            return m_appId;
        }
    }
    qWarning("DCOP: could not register \"%s\" on the session bus", appId.constData());
    return QCString();
}

QString DCOPClient::serviceName() const
{
    return m_service;
}

void DCOPClient::ensureRegistered()
{
    if (isRegistered()) {
        return;
    }
    QString name = QCoreApplication::applicationName();
    if (name.isEmpty()) {
        name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    }
    if (name.isEmpty()) {
        name = QStringLiteral("anonymous");
    }
    registerAs(name.toUtf8());
}

DCOPObject* DCOPClient::findObject(const QCString& objId) const
{
    const auto it = m_objects.constFind(objId);
    return (it == m_objects.constEnd() || it->isEmpty()) ? nullptr : it->constLast();
}

QCStringList DCOPClient::objectIds() const
{
    return m_objects.keys();
}

void DCOPClient::attach(DCOPObject* object)
{
    const QCString id = object->objId();
    m_objects[id].append(object);
    if (m_adaptors.contains(id)) {
        return;
    }
    ensureRegistered();
    auto* adaptor = new DCOPObjectAdaptor(id, this);
    m_adaptors.insert(id, adaptor);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() &&
        !bus.registerVirtualObject(adaptor->path(), adaptor, QDBusConnection::SingleNode)) {
        qWarning("DCOP: could not export the object \"%s\"", id.constData());
    }
}

void DCOPClient::detach(DCOPObject* object)
{
    const QCString id = object->objId();
    const auto it = m_objects.find(id);
    if (it == m_objects.end()) {
        return;
    }
    it->removeAll(object);
    if (!it->isEmpty()) {
        return;
    }
    m_objects.erase(it);
    if (DCOPObjectAdaptor* adaptor = m_adaptors.take(id)) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected()) {
            bus.unregisterObject(adaptor->path());
        }
        adaptor->deleteLater();
    }
}

void DCOPClient::enqueue(DCOPObjectAdaptor* adaptor, const QDBusMessage& message,
                         const QDBusConnection& connection)
{
    if (m_busy) {
        // A call is running (and has entered an event loop): answer this one after it.
        message.setDelayedReply(true);
        m_pending.append({adaptor, message, connection});
        return;
    }
    m_busy = true;
    adaptor->deliver(message, connection);
    m_busy = false;
    if (!m_pending.isEmpty()) {
        QTimer::singleShot(0, this, &DCOPClient::runPending);
    }
}

void DCOPClient::runPending()
{
    while (!m_busy && !m_pending.isEmpty()) {
        const PendingCall call = m_pending.takeFirst();
        if (!call.adaptor) {
            call.connection.send(call.message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
                QStringLiteral("The DCOP object went away")));
            continue;
        }
        m_busy = true;
        call.adaptor->deliver(call.message, call.connection);
        m_busy = false;
    }
}
