// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A switch of power-profiles-daemon's profile: ActiveProfile set over D-Bus,
// asynchronously and within a bound, and, once the daemon took it, the
// profile saved as the user's choice for the power source. The daemon's
// polkit action decides; nothing runs as root and nothing asks here.

#include "choicefile.h"
#include "profilesdaemon.h"

#include "schemes/schemebackend.h"

#include <QPointer>

namespace powerprofiles {

class ProfileSwitch : public schemes::SchemeSwitch
{
    Q_OBJECT

public:
    ProfileSwitch(ProfilesDaemon& daemon, const schemes::SchemeChoice& choice, QString choiceFile,
                  QObject* parent);

    void start() override;
    bool isRunning() const override { return m_running; }

private:
    void ended(const QDBusError& error);
    QByteArray profile() const;

    QPointer<ProfilesDaemon> m_daemon;
    schemes::SchemeChoice m_choice;
    QString m_choiceFile;
    bool m_running = false;
};

} // namespace powerprofiles
