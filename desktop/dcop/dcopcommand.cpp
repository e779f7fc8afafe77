// SPDX-License-Identifier: GPL-2.0-or-later
#include "dcopcommand.h"

#include <dcopclient.h>

#include "dcopsignature.h"
#include "dcoptypes.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cstdio>

namespace {

const QString kdePrefix = QStringLiteral("org.kde.");
const QString dcopInterfacePrefix = QStringLiteral("org.kde.DCOP.");
constexpr int callTimeoutMs = 60000;

void printLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

int complain(int code, const QString& message)
{
    std::fprintf(stderr, "dcop: %s\n", message.toLocal8Bit().constData());
    return code;
}

QString objectPath(const QString& objId)
{
    return QLatin1Char('/') + DCOPClient::busElement(objId.toUtf8());
}

QString interfaceOf(const QString& objId)
{
    return dcopInterfacePrefix + DCOPClient::busElement(objId.toUtf8());
}

// Child node names, or the interface names, of an introspection document.
QStringList introspectionNames(const QString& xml, const QString& element, int depth)
{
    QStringList names;
    QXmlStreamReader reader(xml);
    int level = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++level;
            if (level == depth && reader.name() == element) {
                names << reader.attributes().value(QLatin1String("name")).toString();
            }
        } else if (reader.isEndElement()) {
            --level;
        }
    }
    return names;
}

} // namespace

DcopCommand::DcopCommand(const QDBusConnection& bus) : m_bus(bus)
{
}

int DcopCommand::run(const QStringList& args)
{
    if (!m_bus.isConnected() || !m_bus.interface()) {
        return complain(NotFound, QStringLiteral("cannot reach the D-Bus session bus"));
    }
    if (args.isEmpty()) {
        return listApplications();
    }

    m_app = args.at(0);
    const QString service = resolveApplication(m_app);
    if (service.isEmpty()) {
        return complain(NotFound, QStringLiteral("no such application: \"%1\"").arg(m_app));
    }
    if (args.size() == 1) {
        return listObjects(service);
    }

    const QString objId = args.at(1);
    if (!hasObject(service, objId)) {
        return complain(
            NotFound,
            QStringLiteral("no such object: \"%1\" in application \"%2\"").arg(objId, m_app));
    }
    if (args.size() == 2) {
        return listFunctions(service, objId);
    }
    return call(service, objId, args.at(2), args.mid(3));
}

QString DcopCommand::resolveApplication(const QString& app) const
{
    QDBusConnectionInterface* bus = m_bus.interface();
    const QString exact = DCOPClient::serviceFor(app.toUtf8());
    if (bus->isServiceRegistered(exact)) {
        return exact;
    }
    // "panelhost" also finds a second instance registered as "panelhost-PID".
    const QRegularExpression withPid(
        QStringLiteral("^%1-\\d+$").arg(QRegularExpression::escape(exact)));
    QStringList names = bus->registeredServiceNames().value();
    names.sort();
    for (const QString& name : names) {
        if (withPid.match(name).hasMatch()) {
            return name;
        }
    }
    return QString();
}

int DcopCommand::listApplications()
{
    QStringList names = m_bus.interface()->registeredServiceNames().value();
    names.sort();
    for (const QString& name : names) {
        if (name.startsWith(kdePrefix)) {
            printLine(name.mid(kdePrefix.size()));
        }
    }
    return Success;
}

QString DcopCommand::introspect(const QString& service, const QString& path) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
        QStringLiteral("Introspect"));
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return QString();
    }
    return reply.arguments().constFirst().toString();
}

QStringList DcopCommand::objectsOf(const QString& service) const
{
    QStringList objects;
    for (const QString& node :
         introspectionNames(introspect(service, QStringLiteral("/")), QStringLiteral("node"), 2)) {
        const QStringList interfaces = introspectionNames(
            introspect(service, QLatin1Char('/') + node), QStringLiteral("interface"), 2);
        for (const QString& interface : interfaces) {
            if (interface.startsWith(dcopInterfacePrefix)) {
                objects << interface.mid(dcopInterfacePrefix.size());
            }
        }
    }
    return objects;
}

bool DcopCommand::hasObject(const QString& service, const QString& objId) const
{
    return introspectionNames(introspect(service, objectPath(objId)), QStringLiteral("interface"),
                              2)
        .contains(interfaceOf(objId));
}

int DcopCommand::listObjects(const QString& service)
{
    for (const QString& object : objectsOf(service)) {
        printLine(object);
    }
    return Success;
}

bool DcopCommand::functionsOf(const QString& service, const QString& objId, QStringList* functions,
                              QString* error) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        service, objectPath(objId), interfaceOf(objId), QStringLiteral("functions"));
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        *error = reply.errorMessage();
        return false;
    }
    *functions = reply.arguments().constFirst().toStringList();
    return true;
}

int DcopCommand::listFunctions(const QString& service, const QString& objId)
{
    QStringList functions;
    QString error;
    if (!functionsOf(service, objId, &functions, &error)) {
        return complain(
            NotFound, QStringLiteral("cannot list the functions of \"%1\": %2").arg(objId, error));
    }
    for (const QString& function : functions) {
        printLine(function);
    }
    return Success;
}

int DcopCommand::call(const QString& service, const QString& objId, const QString& function,
                      const QStringList& args)
{
    QStringList functions;
    QString error;
    if (!functionsOf(service, objId, &functions, &error)) {
        return complain(
            NotFound, QStringLiteral("cannot list the functions of \"%1\": %2").arg(objId, error));
    }

    // FUN is a name ("setPos") or a signature ("setPos(int)").
    const bool bySignature = function.contains(QLatin1Char('('));
    const QByteArray wanted = bySignature
                                  ? DCOPSignature::parse("void " + function.toUtf8()).matchForm()
                                  : function.toUtf8();
    DCOPSignature match;
    QStringList sameName;
    for (const QString& entry : functions) {
        const DCOPSignature sig = DCOPSignature::parse(entry.toUtf8());
        if (!sig.valid) {
            continue;
        }
        if (bySignature ? sig.matchForm() == wanted : sig.name == wanted) {
            sameName << entry;
            if (sig.argTypes.size() == args.size()) {
                match = sig;
                break;
            }
        }
    }
    if (!match.valid) {
        if (sameName.isEmpty()) {
            return complain(
                NotFound,
                QStringLiteral("no such function: \"%1\" in object \"%2\"").arg(function, objId));
        }
        return complain(BadUsage, QStringLiteral("wrong number of arguments (%1) for %2")
                                      .arg(args.size())
                                      .arg(sameName.join(QLatin1String(", "))));
    }

    QList<QVariant> values;
    for (int i = 0; i < args.size(); ++i) {
        QVariant value;
        QString why;
        if (!DCOPTypes::fromText(match.argTypes.at(i), args.at(i), value, &why)) {
            return complain(BadUsage, QStringLiteral("bad argument %1 of %2: %3")
                                          .arg(i + 1)
                                          .arg(QString::fromUtf8(match.matchForm()), why));
        }
        values << value;
    }

    QDBusMessage message = QDBusMessage::createMethodCall(
        service, objectPath(objId), interfaceOf(objId), QString::fromLatin1(match.name));
    message.setArguments(values);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return complain(NotFound, QStringLiteral("call failed: %1").arg(reply.errorMessage()));
    }
    for (const QVariant& value : reply.arguments()) {
        for (const QString& line : DCOPTypes::toText(value)) {
            printLine(line);
        }
    }
    return Success;
}
