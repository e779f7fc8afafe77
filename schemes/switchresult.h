// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A switch's request, as the programs make it, and what came of it.

#include "powerdaemon/switchreport.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace schemes {

// The scheme to put in force for each power source, by id: one or both.
struct SchemeChoice
{
    std::optional<QByteArray> mains;
    std::optional<QByteArray> battery;
};

struct SwitchResult
{
    SchemeChoice choice;
    // What the switch reported; nullopt when it never ran (pkexec not
    // started, the user not authorised or the dialog dismissed).
    std::optional<powerdaemon::SwitchReport> report;
    // True when the switch ran in this process (run by root): its file
    // errors are this program's own.
    bool ranHere = false;
    // Why the switch never ran: whether pkexec started, its exit status,
    // and its own words (or why it could not be started).
    bool pkexecStarted = false;
    int pkexecStatus = -1;
    QString pkexecMessage;
};

} // namespace schemes
