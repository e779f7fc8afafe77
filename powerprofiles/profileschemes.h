// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The schemes of power-profiles-daemon: its profiles in its order, shown by
// the names desktops give them (profilenames.h) and switched by their ids.
// The mark is the profile in force (ActiveProfile) for either power source;
// the user's choice for each source (choicefile.h) is put in force when the
// source changes, unless another program holds a profile.

#include "choicefile.h"
#include "profilesdaemon.h"

#include "schemes/schemebackend.h"

#include <memory>

namespace powerprofiles {

class ProfileSchemes : public schemes::SchemeBackend
{
public:
    // Reads the daemon's properties, waiting at most CallBound.
    ProfileSchemes(const machine::BusObject& object, QString userFile, QStringList systemFiles);
    explicit ProfileSchemes(const machine::BusObject& object);
    ~ProfileSchemes() override;

    QList<schemes::SchemeEntry> entries() const override;
    // ActiveProfile for both sources: what is in force whatever the source.
    schemes::SchemesInForce inForce() const override;
    // The daemon's polkit action lets an active session switch without asking.
    bool switchMayAsk() const override { return false; }
    std::unique_ptr<schemes::SchemeSwitch> prepareSwitch(const schemes::SchemeChoice& choice,
                                                         QObject* parent) const override;
    void powerSourceChanged(bool onBattery) override;
    QString holdNote() const override;
    QString degradedNote() const override;

    ProfilesDaemon& daemon() const { return *m_daemon; }

private:
    std::unique_ptr<ProfilesDaemon> m_daemon;
    QString m_userFile;
    QStringList m_systemFiles;
};

} // namespace powerprofiles
