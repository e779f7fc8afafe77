// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <sys/types.h>

class QProcess;

/// A child process as KDE 3 started it: arguments collected with operator<<,
/// optionally run through a shell, its end reported through the event loop.
/// Deleting a KProcess whose child still runs leaves the child running; the
/// child is still reaped when it ends, so it never lingers as a zombie.
class OVRADESKTOP_EXPORT KProcess : public QObject
{
    Q_OBJECT

public:
    enum RunMode
    {
        DontCare,
        NotifyOnExit,
        Block
    };
    enum Communication
    {
        NoCommunication = 0,
        Stdin = 1,
        Stdout = 2,
        Stderr = 4
    };

    explicit KProcess(QObject* parent = nullptr);
    ~KProcess() override;

    /// With a shell, the arguments are joined with blanks into one command
    /// line that is run as `shell -c LINE`; the default shell is "/bin/sh".
    void setUseShell(bool useShell, const char* shell = nullptr);
    KProcess& operator<<(const QString& arg);
    KProcess& operator<<(const char* arg);
    KProcess& operator<<(const QStringList& args);
    void clearArguments();
    QStringList args() const { return m_arguments; }

    /// Starts the child. Only NoCommunication is supported: the child shares
    /// the caller's standard input, output and error. False when the child
    /// could not be started or is already running.
    bool start(RunMode runMode = NotifyOnExit, Communication comm = NoCommunication);

    bool isRunning() const { return m_running; }
    pid_t pid() const { return m_pid; }
    /// True once the child ended by exiting (not by a signal).
    bool normalExit() const { return m_normalExit; }
    /// The child's exit code once it has ended.
    int exitStatus() const { return m_exitStatus; }

Q_SIGNALS:
    void processExited(KProcess* process);

private:
    void onFinished(int exitCode, bool crashed);
    void releaseChild();

    QStringList m_arguments;
    bool m_useShell = false;
    QByteArray m_shell;
    RunMode m_runMode = NotifyOnExit;
    QProcess* m_child = nullptr;
    bool m_running = false;
    pid_t m_pid = 0;
    bool m_normalExit = false;
    int m_exitStatus = 0;
};
