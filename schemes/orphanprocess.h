// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A program started beside the event loop that can be given up at no cost.
// Its standard output and error are read through pipes as they come, and
// its exit status comes back through a third pipe. The program is not this
// process's child: a short-lived relay started in between waits for it and
// writes its status, and the relay's own parent is init, which reaps it.
// Deleting an OrphanProcess whose program runs therefore waits for nothing
// and leaves no zombie: the program goes on alone. (QProcess waits up to
// 30 s when deleted while its program runs, and pkexec, whose child is
// root's, cannot be ended by the user.)

#include "powerdaemon/uniquefd.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <cstddef>

class QSocketNotifier;

namespace schemes {

class OrphanProcess : public QObject
{
    Q_OBJECT

public:
    explicit OrphanProcess(QObject* parent = nullptr);
    // Gives the program up if it still runs: it is neither waited for nor ended.
    ~OrphanProcess() override;

    // Starts program (a path) with arguments and the caller's environment,
    // standard input from /dev/null; at most outputLimit bytes of each of its
    // outputs are kept. False when it could not even be forked; a program
    // that cannot be executed ends at once, not started.
    bool start(const QByteArray& program, const QList<QByteArray>& arguments,
               std::size_t outputLimit);
    bool isRunning() const { return m_running; }

    // What came of the program, complete once finished() has come.
    struct Outcome
    {
        bool started = false; // the program was executed
        // Its exit code; -1 when a signal ended it or its end could not be told.
        int exitCode = -1;
        QString error; // why it could not be started
        QByteArray output;
        QByteArray errors;
    };
    const Outcome& outcome() const { return m_outcome; }

signals:
    // Once, after start() returned true: the program ended or could not be
    // executed.
    void finished();

private:
    void readOutput(powerdaemon::UniqueFd& fd, QByteArray& into, QSocketNotifier* notifier);
    void readStatus();
    void end();

    std::size_t m_limit = 0;
    bool m_running = false;
    Outcome m_outcome;
    QByteArray m_statusBytes;
    powerdaemon::UniqueFd m_outputFd;
    powerdaemon::UniqueFd m_errorFd;
    powerdaemon::UniqueFd m_statusFd;
    QSocketNotifier* m_outputNotifier = nullptr;
    QSocketNotifier* m_errorNotifier = nullptr;
    QSocketNotifier* m_statusNotifier = nullptr;
};

} // namespace schemes
