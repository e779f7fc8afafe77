// SPDX-License-Identifier: GPL-2.0-or-later
#include "dcopobjectadaptor.h"

#include "dcopclient.h"
#include "dcopsignature.h"
#include "dcoptypes.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDataStream>
#include <QIODevice>

namespace {

QString callSignature(const DCOPSignature& sig)
{
    QString signature;
    for (const QByteArray& type : sig.argTypes) {
        signature += DCOPTypes::dbusSignature(type);
    }
    return signature;
}

QString xmlEscaped(const QByteArray& text)
{
    return QString::fromUtf8(text).toHtmlEscaped();
}

void sendError(const QDBusMessage& message, const QDBusConnection& connection, const QString& name,
               const QString& text)
{
    connection.send(message.createErrorReply(name, text));
}

} // namespace

DCOPObjectAdaptor::DCOPObjectAdaptor(const QCString& objId, DCOPClient* client)
    : QDBusVirtualObject(client), m_objId(objId),
      m_path(QLatin1Char('/') + DCOPClient::busElement(objId)),
      m_interface(QStringLiteral("org.kde.DCOP.") + DCOPClient::busElement(objId)), m_client(client)
{
}

DCOPObjectAdaptor::~DCOPObjectAdaptor() = default;

bool DCOPObjectAdaptor::handleMessage(const QDBusMessage& message,
                                      const QDBusConnection& connection)
{
    // Introspection and the other standard interfaces are QtDBus's to answer.
    if (message.interface().startsWith(QLatin1String("org.freedesktop.DBus."))) {
        return false;
    }
    if (message.type() != QDBusMessage::MethodCallMessage) {
        return false;
    }
    if (!message.interface().isEmpty() && message.interface() != m_interface) {
        sendError(
            message, connection, QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
            QStringLiteral("No interface \"%1\" at object %2").arg(message.interface(), m_path));
        return true;
    }
    m_client->enqueue(this, message, connection);
    return true;
}

void DCOPObjectAdaptor::deliver(const QDBusMessage& message, const QDBusConnection& connection)
{
    DCOPObject* object = m_client->findObject(m_objId);
    if (!object) {
        sendError(message, connection, QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
                  QStringLiteral("No DCOP object \"%1\"").arg(QString::fromUtf8(m_objId)));
        return;
    }

    // Find the entry of functions() with this name and these argument types.
    const QString memberName = message.member();
    const QString signature = message.signature();
    DCOPSignature match;
    QStringList offered;
    for (const QByteArray& entry : object->functions()) {
        const DCOPSignature sig = DCOPSignature::parse(entry);
        if (!sig.valid || QString::fromLatin1(sig.name) != memberName) {
            continue;
        }
        if (callSignature(sig) == signature) {
            match = sig;
            break;
        }
        offered << QString::fromUtf8(entry);
    }
    if (!match.valid) {
        if (offered.isEmpty()) {
            sendError(message, connection,
                      QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                      QStringLiteral("DCOP object \"%1\" has no function \"%2\"")
                          .arg(QString::fromUtf8(m_objId), memberName));
        } else {
            sendError(message, connection, QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                      QStringLiteral("Arguments (%1) do not fit %2")
                          .arg(signature, offered.join(QLatin1String(", "))));
        }
        return;
    }

    QByteArray data;
    {
        QDataStream args(&data, QIODevice::WriteOnly);
        const QList<QVariant> values = message.arguments();
        for (int i = 0; i < match.argTypes.size(); ++i) {
            if (!DCOPTypes::encode(match.argTypes.at(i), values.value(i), args)) {
                sendError(message, connection,
                          QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                          QStringLiteral("Cannot pass argument %1 as %2")
                              .arg(i + 1)
                              .arg(QString::fromLatin1(match.argTypes.at(i))));
                return;
            }
        }
    }

    const QCString fun = match.matchForm();
    QCString replyType;
    QByteArray replyData;
    if (!object->process(fun, data, replyType, replyData)) {
        sendError(message, connection, QStringLiteral("org.kde.DCOP.Error.CallFailed"),
                  QStringLiteral("DCOP object \"%1\" refused the call %2")
                      .arg(QString::fromUtf8(m_objId), QString::fromLatin1(fun)));
        return;
    }

    QDBusMessage reply = message.createReply();
    const QByteArray type = replyType.isEmpty() ? match.replyType : normalizedDcopType(replyType);
    if (!DCOPTypes::isVoid(type)) {
        QDataStream in(replyData);
        QVariant value;
        if (!DCOPTypes::decode(type, in, value)) {
            sendError(message, connection, QStringLiteral("org.kde.DCOP.Error.BadReply"),
                      QStringLiteral("The reply of %1 is not a valid %2")
                          .arg(QString::fromLatin1(fun), QString::fromLatin1(type)));
            return;
        }
        reply << value;
    }
    connection.send(reply);
}

QString DCOPObjectAdaptor::introspect(const QString&) const
{
    DCOPObject* object = m_client->findObject(m_objId);
    if (!object) {
        return QString();
    }
    QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(m_interface);
    for (const QByteArray& entry : object->functions()) {
        const DCOPSignature sig = DCOPSignature::parse(entry);
        if (!sig.valid) {
            continue;
        }
        xml += QStringLiteral("    <method name=\"%1\">\n").arg(QString::fromLatin1(sig.name));
        for (int i = 0; i < sig.argTypes.size(); ++i) {
            const QByteArray name = sig.argNames.at(i).isEmpty()
                                        ? QByteArray("arg") + QByteArray::number(i + 1)
                                        : sig.argNames.at(i);
            xml += QStringLiteral("      <arg name=\"%1\" type=\"%2\" direction=\"in\"/>\n")
                       .arg(xmlEscaped(name), DCOPTypes::dbusSignature(sig.argTypes.at(i)));
        }
        if (!DCOPTypes::isVoid(sig.replyType)) {
            xml += QStringLiteral("      <arg type=\"%1\" direction=\"out\"/>\n")
                       .arg(DCOPTypes::dbusSignature(sig.replyType));
        }
        xml += QStringLiteral("      <annotation name=\"org.kde.DCOP.Function\" value=\"%1\"/>\n")
                   .arg(xmlEscaped(entry.simplified()));
        xml += QStringLiteral("    </method>\n");
    }
    xml += QStringLiteral("  </interface>\n");
    return xml;
}
