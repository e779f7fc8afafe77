// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The power schemes as both programs see them, whatever keeps them: which
// are offered, which is in force for each power source, and a switch. One
// implementation per store: the daemon's file through the one switch
// (daemonschemes.h), power-profiles-daemon (powerprofiles/). What each call promises, and how long
// it may take: docs/architecture.md, "The scheme seam".

#include "powerdaemon/fileerror.h"
#include "powerdaemon/switchreport.h"

#include <QList>
#include <QObject>

#include <memory>
#include <optional>

namespace schemes {

// The scheme to put in force for each power source, by id: one or both.
struct SchemeChoice
{
    std::optional<QByteArray> mains;
    std::optional<QByteArray> battery;
};

// The id in force for each power source; empty where none is named.
struct SchemesInForce
{
    QByteArray mains;
    QByteArray battery;
    // Set when the store of the schemes in force could not be read.
    std::optional<powerdaemon::FileError> failure;
};

// What came of a switch.
struct SwitchResult
{
    SchemeChoice choice;
    // What the switch reported; nullopt when it never ran (pkexec not
    // started, the user not authorised or the dialog dismissed) or when it
    // ended without a report (see afterwards).
    std::optional<powerdaemon::SwitchReport> report;
    // True when the switch ran in this process (run by root): its file
    // errors are this program's own.
    bool ranHere = false;
    // Why the switch never ran: whether pkexec started, its exit status,
    // and its own words (or why it could not be started).
    bool pkexecStarted = false;
    int pkexecStatus = -1;
    QString pkexecMessage;
    // A switch made by a D-Bus call that failed: the error's name and text
    // (a refusal, or a service gone or silent). Empty: none.
    QString busError;
    QString busMessage;
    // The file the choice was saved to, when it is not the daemon's.
    QString savedTo;
    // Set when the switch's outcome is unknown (the helper ended without a
    // report, killed perhaps after writing): the schemes in force read after it.
    std::optional<SchemesInForce> afterwards;
};

// An offered scheme: the id a switch names it by, and the text the user reads.
struct SchemeEntry
{
    QByteArray id;
    QString label;
};

// One switch. Connect to finished(), then start(): finished() comes once,
// and it may come before start() returns (a switch that asks nobody runs
// at once). Deleting a switch that still runs gives up waiting for it.
class SchemeSwitch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual void start() = 0;
    virtual bool isRunning() const = 0;

signals:
    void finished(const schemes::SwitchResult& result);
};

class SchemeBackend
{
public:
    virtual ~SchemeBackend() = default;

    // The schemes offered, in the order they are shown.
    virtual QList<SchemeEntry> entries() const = 0;
    virtual SchemesInForce inForce() const = 0;
    // True when a switch may ask the user first (an authentication
    // dialog), so that a window kept on top steps aside.
    virtual bool switchMayAsk() const = 0;
    // A switch that puts choice in force, not yet started, a child of parent.
    virtual std::unique_ptr<SchemeSwitch> prepareSwitch(const SchemeChoice& choice,
                                                        QObject* parent) const = 0;

    // The power source changed (the applet follows it). The daemon's file
    // needs nothing: the daemon follows the source itself.
    virtual void powerSourceChanged(bool /*onBattery*/) {}
    // Who keeps the scheme in force against a switch, in the user's words;
    // empty when nobody does.
    virtual QString holdNote() const { return {}; }
    // Why the scheme in force does not give its full effect; empty: it does.
    virtual QString degradedNote() const { return {}; }
};

} // namespace schemes
