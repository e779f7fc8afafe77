// SPDX-License-Identifier: GPL-2.0-or-later
#include "profileschemes.h"
#include "profilenames.h"
#include "profileswitch.h"

#include "schemes/catalogue.h"

#include <QDBusError>

#include <cstdio>
#include <utility>

namespace powerprofiles {

ProfileSchemes::ProfileSchemes(const machine::BusObject& object, QString userFile,
                               QStringList systemFiles)
    : m_daemon(std::make_unique<ProfilesDaemon>(object)), m_userFile(std::move(userFile)),
      m_systemFiles(std::move(systemFiles))
{
}

ProfileSchemes::ProfileSchemes(const machine::BusObject& object)
    : ProfileSchemes(object, userChoiceFile(), systemChoiceFiles())
{
}

ProfileSchemes::~ProfileSchemes() = default;

QList<schemes::SchemeEntry> ProfileSchemes::entries() const
{
    QList<schemes::SchemeEntry> entries;
    for (const QByteArray& id : m_daemon->state().profiles) {
        entries.append({id, profileLabel(id)});
    }
    return entries;
}

schemes::SchemesInForce ProfileSchemes::inForce() const
{
    const QByteArray& active = m_daemon->state().active;
    return {active, active, std::nullopt};
}

std::unique_ptr<schemes::SchemeSwitch>
ProfileSchemes::prepareSwitch(const schemes::SchemeChoice& choice, QObject* parent) const
{
    return std::make_unique<ProfileSwitch>(*m_daemon, choice, m_userFile, parent);
}

void ProfileSchemes::powerSourceChanged(bool onBattery)
{
    const DaemonState& state = m_daemon->state();
    const Choices choices = readChoices(m_userFile, m_systemFiles);
    const QByteArray id = onBattery ? choices.battery : choices.mains;
    // No choice for the source, one the daemon does not offer, or a program
    // holding a profile: the profile in force stays.
    if (id.isEmpty() || !state.profiles.contains(id) || !state.holds.isEmpty() ||
        id == state.active) {
        return;
    }
    m_daemon->setActive(id, m_daemon.get(), [id](const QDBusError& error) {
        // Nobody asked for it: a line on standard error.
        if (error.isValid()) {
            std::fprintf(stderr, "power profile %s not set: %s\n", id.constData(),
                         qPrintable(error.message()));
        }
    });
}

QString ProfileSchemes::holdNote() const
{
    QStringList notes;
    for (const Hold& hold : m_daemon->state().holds) {
        // TRANSLATORS: %1 is a power profile, %2 the program holding it, %3 its reason.
        const QString note = schemes::translated(I18N_NOOP("%1 held by %2: %3"));
        notes.append(note.arg(profileLabel(hold.profile), hold.applicationId, hold.reason));
    }
    // A menu takes "&" for a shortcut's mark.
    return notes.join(QLatin1String("; ")).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString ProfileSchemes::degradedNote() const
{
    const QString& degraded = m_daemon->state().degraded;
    if (degraded.isEmpty()) {
        return {};
    }
    // TRANSLATORS: %1 is the reason power-profiles-daemon gives, such as lap-detected.
    return schemes::translated(I18N_NOOP("Performance degraded: %1")).arg(degraded);
}

} // namespace powerprofiles
