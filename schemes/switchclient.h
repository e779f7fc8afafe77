// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The one client of the one switch (powerdaemon::switchScheme) for both
// programs. Run by root, it runs the switch in this process, within the
// commands' bounds: under the applet's rules in place, finished() coming
// before start() returns; under the popup's rules on a thread aside, so that
// the popup's window can offer a way out of the wait while a reload hangs
// (deleting the client then gives the wait up, and the switch finishes on
// its own before the program ends: waitForSwitchesAside). Run by
// anyone else, it starts pkexec with the switch helper and reads the
// helper's report when pkexec ends, beside the event loop; that wait has no
// bound, as a person may be typing a password in the authentication
// agent's dialog, and the helper bounds each command it runs. So the caller
// offers a way out: deleting the client gives the wait up at once, and the
// switch, if it runs, finishes on its own (orphanprocess.h).

#include "orphanprocess.h"
#include "schemebackend.h"

#include "powerdaemon/schemeswitch.h"

#include <chrono>

namespace schemes {

class SwitchClient : public SchemeSwitch
{
    Q_OBJECT

public:
    SwitchClient(powerdaemon::Rules rules, const SchemeChoice& choice, QObject* parent = nullptr);

    // True when a switch goes through pkexec and the helper: the program
    // is not run by root.
    static bool runsThroughHelper();

    // Through the helper, a choice names exactly one power source: the
    // helper sets one key.
    void start() override;
    bool isRunning() const override { return m_process.isRunning() || m_runningAside; }

private:
    void startAside(const powerdaemon::SwitchRequest& request);
    void endAside(const powerdaemon::SwitchReport& report);
    void collect();

    powerdaemon::Rules m_rules;
    SwitchResult m_result;
    OrphanProcess m_process;
    bool m_runningAside = false;
};

// Waits, at most bound, until root's switches running aside have ended, so
// that a switch the user stopped waiting for is not cut off half way when
// the program ends.
void waitForSwitchesAside(std::chrono::milliseconds bound);

// The switch's request for a choice, by a program's rules.
powerdaemon::SwitchRequest switchRequest(powerdaemon::Rules rules, const SchemeChoice& choice);

} // namespace schemes
