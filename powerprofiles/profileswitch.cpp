// SPDX-License-Identifier: GPL-2.0-or-later
#include "profileswitch.h"

#include "powerdaemon/powersavedaemon.h"

#include <utility>

namespace powerprofiles {

ProfileSwitch::ProfileSwitch(ProfilesDaemon& daemon, const schemes::SchemeChoice& choice,
                             QString choiceFile, QObject* parent)
    : schemes::SchemeSwitch(parent), m_daemon(&daemon), m_choice(choice),
      m_choiceFile(std::move(choiceFile))
{
}

QByteArray ProfileSwitch::profile() const
{
    return m_choice.mains ? *m_choice.mains : m_choice.battery.value_or(QByteArray());
}

void ProfileSwitch::start()
{
    if (isRunning()) {
        return;
    }
    const QByteArray id = profile();
    // Only what the daemon offers now: it would refuse anything else.
    if (!m_daemon || !m_daemon->state().profiles.contains(id)) {
        schemes::SwitchResult result;
        result.choice = m_choice;
        result.report.emplace().refused = true;
        result.report->reason = "the power profiles daemon does not offer it.";
        emit finished(result);
        return;
    }
    m_running = true;
    m_daemon->setActive(id, this, [this](const QDBusError& error) { ended(error); });
}

void ProfileSwitch::ended(const QDBusError& error)
{
    m_running = false;
    schemes::SwitchResult result;
    result.choice = m_choice;
    if (error.isValid()) {
        result.busError = error.name();
        result.busMessage = error.message();
        emit finished(result);
        return;
    }
    const QByteArray id = profile();
    // The daemon took it: now it is the user's choice for the power source.
    powerdaemon::SwitchReport report;
    report.accepted = true;
    for (const auto& [chosen, key] : {std::pair{m_choice.mains, powerdaemon::AcSchemeKey},
                                      std::pair{m_choice.battery, powerdaemon::BatterySchemeKey}}) {
        if (!chosen || report.saved == powerdaemon::SwitchReport::Saved::Failed) {
            continue;
        }
        if (const auto failure = saveChoice(m_choiceFile, key, id.toStdString())) {
            report.saved = powerdaemon::SwitchReport::Saved::Failed;
            report.failure = *failure;
            report.reason = failure->message();
        }
    }
    result.report = report;
    result.savedTo = m_choiceFile;
    emit finished(result);
}

} // namespace powerprofiles
