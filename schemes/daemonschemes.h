// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The schemes of the power daemon's file, by a program's rules
// (powerdaemon/schemerules.h): the scheme files it offers, the keys
// AC_SCHEME and BATTERY_SCHEME of /etc/sysconfig/powersave/common, and the
// one switch (switchclient.h). A scheme's id is its name, its label the
// name in the locale's character set.

#include "schemebackend.h"

#include "powerdaemon/schemerules.h"

namespace schemes {

class DaemonSchemes : public SchemeBackend
{
public:
    explicit DaemonSchemes(powerdaemon::Rules rules) : m_rules(rules) {}

    // The popup's: the daemon's folder in the order the folder yields its
    // entries. The applet's: the product's folder, smallest file first.
    // Only names that the file may hold safely.
    QList<SchemeEntry> entries() const override;
    // Reads the file, at most powerdaemon::ConfigFileLimit bytes.
    SchemesInForce inForce() const override;
    // Through the helper: polkit's agent may ask for a password.
    bool switchMayAsk() const override;
    std::unique_ptr<SchemeSwitch> prepareSwitch(const SchemeChoice& choice,
                                                QObject* parent) const override;

private:
    powerdaemon::Rules m_rules;
};

} // namespace schemes
