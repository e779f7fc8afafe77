// SPDX-License-Identifier: GPL-2.0-or-later
#include "profilesdaemon.h"

#include "machine/answersahead.h"
#include "machine/buscall.h"
#include "powerdaemon/schemerules.h"
#include "schemes/bytesview.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QPointer>

namespace powerprofiles {

namespace {

// More than any daemon offers or holds: a flood is cut, not kept.
constexpr int MostEntries = 20;
constexpr int LongestId = 64;
constexpr int LongestText = 80;

QDBusConnection bus()
{
    return QDBusConnection::systemBus();
}

// A text any program on the bus may have given (a hold's reason): on one
// line, and short enough for a menu.
QString shownText(const QString& text)
{
    return text.simplified().left(LongestText);
}

bool isProfileId(const QByteArray& id)
{
    return !id.isEmpty() && id.size() <= LongestId &&
           powerdaemon::isSafeSchemeName(schemes::bytesView(id));
}

// An array of dictionaries (aa{sv}); none when the value is anything else.
QList<QVariantMap> dictionaries(const QVariant& value)
{
    QList<QVariantMap> result;
    if (value.userType() != qMetaTypeId<QDBusArgument>()) {
        return result;
    }
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("aa{sv}")) {
        return result;
    }
    argument.beginArray();
    while (!argument.atEnd() && result.size() < MostEntries) {
        QVariantMap entry;
        argument >> entry;
        result.append(entry);
    }
    argument.endArray();
    return result;
}

QList<QByteArray> profilesOf(const QVariant& value)
{
    QList<QByteArray> profiles;
    for (const QVariantMap& entry : dictionaries(value)) {
        const QByteArray id = entry.value(QStringLiteral("Profile")).toString().toUtf8();
        if (isProfileId(id) && !profiles.contains(id)) {
            profiles.append(id);
        }
    }
    return profiles;
}

QList<Hold> holdsOf(const QVariant& value)
{
    QList<Hold> holds;
    for (const QVariantMap& entry : dictionaries(value)) {
        holds.append({entry.value(QStringLiteral("Profile")).toString().toUtf8().left(LongestId),
                      shownText(entry.value(QStringLiteral("Reason")).toString()),
                      shownText(entry.value(QStringLiteral("ApplicationId")).toString())});
    }
    return holds;
}

std::optional<QString> stringOf(const QVariantMap& properties, const QString& name)
{
    const auto found = properties.find(name);
    if (found == properties.end() || found->userType() != QMetaType::QString) {
        return std::nullopt;
    }
    return found->toString();
}

} // namespace

void takeProperties(DaemonState& state, const QVariantMap& properties)
{
    if (properties.contains(QStringLiteral("Profiles"))) {
        state.profiles = profilesOf(properties.value(QStringLiteral("Profiles")));
    }
    if (const auto active = stringOf(properties, QStringLiteral("ActiveProfile"))) {
        const QByteArray id = active->toUtf8();
        state.active = isProfileId(id) ? id : QByteArray();
    }
    if (properties.contains(QStringLiteral("ActiveProfileHolds"))) {
        state.holds = holdsOf(properties.value(QStringLiteral("ActiveProfileHolds")));
    }
    // Releases before 0.20 name it PerformanceInhibited.
    for (const QString& name :
         {QStringLiteral("PerformanceInhibited"), QStringLiteral("PerformanceDegraded")}) {
        if (const auto degraded = stringOf(properties, name)) {
            state.degraded = shownText(*degraded);
        }
    }
}

ProfilesDaemon::ProfilesDaemon(machine::BusObject object, QObject* parent)
    : QObject(parent), m_object(std::move(object))
{
    bus().connect(m_object.service, m_object.path, machine::PropertiesInterface,
                  QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    auto* watcher = new QDBusServiceWatcher(m_object.service, bus(),
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &ProfilesDaemon::ownerChanged);
    // The first reading is waited for: the programs show it at once. One
    // asked ahead was asked before the signal above was followed, so it is
    // read once more: a change between the two is not lost.
    if (std::optional<QDBusMessage> ahead =
            machine::takeAnswerAhead(machine::profilesQuestion(m_object), CallBound)) {
        takeReading(*ahead);
        readAll();
    } else {
        takeReading(machine::callWithin(machine::profilesQuestion(m_object), CallBound));
    }
}

void ProfilesDaemon::takeReading(const QDBusMessage& reply)
{
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        takeProperties(m_state, qdbus_cast<QVariantMap>(reply.arguments().constFirst()));
    }
}

void ProfilesDaemon::setActive(const QByteArray& profile, QObject* context,
                               std::function<void(const QDBusError& error)> ended)
{
    QDBusMessage set = machine::propertiesCall(m_object, QStringLiteral("Set"));
    set << QStringLiteral("ActiveProfile")
        << QVariant::fromValue(QDBusVariant(QString::fromUtf8(profile)));
    auto* call = new QDBusPendingCallWatcher(bus().asyncCall(set, int(CallBound.count())), context);
    QPointer<ProfilesDaemon> daemon(this);
    connect(call, &QDBusPendingCallWatcher::finished, context,
            [daemon, profile, ended = std::move(ended)](QDBusPendingCallWatcher* answered) {
                answered->deleteLater();
                if (!answered->isError() && daemon && daemon->m_state.active != profile) {
                    daemon->m_state.active = profile;
                    emit daemon->changed();
                }
                ended(answered->error());
            });
}

void ProfilesDaemon::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                       const QStringList& /*invalidated*/)
{
    if (interface != m_object.interface) {
        return;
    }
    takeProperties(m_state, changed);
    emit this->changed();
}

void ProfilesDaemon::ownerChanged(const QString& /*service*/, const QString& /*oldOwner*/,
                                  const QString& newOwner)
{
    // Gone: nothing is offered until a daemon answers again.
    m_state = DaemonState();
    emit changed();
    if (!newOwner.isEmpty()) {
        readAll();
    }
}

void ProfilesDaemon::readAll()
{
    auto* call = new QDBusPendingCallWatcher(
        bus().asyncCall(machine::profilesQuestion(m_object), int(CallBound.count())), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &ProfilesDaemon::allRead);
}

void ProfilesDaemon::allRead(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusPendingReply<QVariantMap> reply = *call;
    if (reply.isValid()) {
        takeProperties(m_state, reply.value());
        emit changed();
    }
}

} // namespace powerprofiles
