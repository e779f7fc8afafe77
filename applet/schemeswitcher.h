// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A scheme switch for a panel run by a user who is not root: the switch
// helper does it as root once polkit has authorised the user (pkexec). It
// runs beside the panel's event loop, so that the panel repaints and
// answers DCOP while polkit's agent asks for a password or the daemon
// reloads.

#include "powerdaemon/switchreport.h"

#include <QObject>
#include <QProcess>
#include <QString>

#include <optional>

// What came of a switch.
struct SchemeSwitcherResult
{
    // What the helper reported; nullopt when it never ran (pkexec not
    // started, the user not authorised or the dialog dismissed).
    std::optional<powerdaemon::SwitchReport> report;
    bool started = false;
    int exitCode = -1;
    QString message; // pkexec's words when the helper never ran
};

class SchemeSwitcher : public QObject
{
    Q_OBJECT

public:
    using Result = SchemeSwitcherResult;

    explicit SchemeSwitcher(QObject* parent = nullptr);
    // Ends a switch still waiting for pkexec; the helper, if it runs,
    // finishes on its own.
    ~SchemeSwitcher() override;

    // Starts setting key to name; finished() follows, once. No bound: a
    // person may be typing a password, and the helper bounds its commands.
    void start(const QByteArray& key, const QString& name);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

signals:
    void finished(const SchemeSwitcherResult& result);

private:
    void collect();
    void failedToStart(QProcess::ProcessError error);

    QProcess m_process;
};
