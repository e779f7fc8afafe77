// SPDX-License-Identifier: GPL-2.0-or-later
#include "orphanprocess.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace schemes {

namespace {

using powerdaemon::UniqueFd;

// What the relay tells through the status pipe, in one write.
struct RelayMessage
{
    enum Kind : int
    {
        NotExecuted, // value: errno of fork or execve
        Ended        // value: the wait status of the program
    };
    int kind;
    int value;
};

struct Pipe
{
    UniqueFd read;
    UniqueFd write;
};

bool makePipe(Pipe& pipe)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    pipe.read.reset(fds[0]);
    pipe.write.reset(fds[1]);
    return ::fcntl(fds[0], F_SETFL, O_NONBLOCK) == 0;
}

// Everything below runs between fork and exec or _exit: only calls that are
// safe after fork in a threaded process, and no allocation.

void tell(int fd, int kind, int value)
{
    const RelayMessage message{kind, value};
    while (::write(fd, &message, sizeof message) < 0 && errno == EINTR) {
    }
}

// The descriptors the program gets, and its argument and environment vectors.
struct ExecPlan
{
    char* const* argv;
    int input;
    int output;
    int errors;
    int status;
};

[[noreturn]] void execProgram(const ExecPlan& plan, int execErrorFd)
{
    ::dup2(plan.input, STDIN_FILENO);
    ::dup2(plan.output, STDOUT_FILENO);
    ::dup2(plan.errors, STDERR_FILENO);
    // The program starts with default signals and nothing blocked, whatever
    // the panel set for itself.
    ::signal(SIGPIPE, SIG_DFL);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(plan.argv[0], plan.argv, environ);
    const int error = errno;
    while (::write(execErrorFd, &error, sizeof error) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

// The relay: starts the program, waits for it and tells its status.
[[noreturn]] void relay(const ExecPlan& plan)
{
    // A caller that gave up closed its end: the write fails, and that is all.
    ::signal(SIGPIPE, SIG_IGN);
    int execError[2];
    if (::pipe2(execError, O_CLOEXEC) != 0) {
        tell(plan.status, RelayMessage::NotExecuted, errno);
        ::_exit(1);
    }
    const pid_t program = ::fork();
    if (program < 0) {
        tell(plan.status, RelayMessage::NotExecuted, errno);
        ::_exit(1);
    }
    if (program == 0) {
        execProgram(plan, execError[1]);
    }
    // Only the program holds its outputs: they close when it ends.
    ::close(execError[1]);
    ::close(plan.output);
    ::close(plan.errors);
    int error = 0;
    ssize_t got;
    do {
        got = ::read(execError[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    int status = 0;
    while (::waitpid(program, &status, 0) < 0 && errno == EINTR) {
    }
    if (got == ssize_t(sizeof error)) {
        tell(plan.status, RelayMessage::NotExecuted, error);
    } else {
        tell(plan.status, RelayMessage::Ended, status);
    }
    ::_exit(0);
}

// Starts the relay as an orphan: a first child forks it and ends at once,
// so that init is the relay's parent.
bool startRelay(const ExecPlan& plan)
{
    const pid_t first = ::fork();
    if (first < 0) {
        return false;
    }
    if (first == 0) {
        const pid_t relayPid = ::fork();
        if (relayPid == 0) {
            relay(plan);
        }
        if (relayPid < 0) {
            tell(plan.status, RelayMessage::NotExecuted, errno);
        }
        ::_exit(0);
    }
    // The first child only forks: this wait ends at once.
    while (::waitpid(first, nullptr, 0) < 0 && errno == EINTR) {
    }
    return true;
}

} // namespace

OrphanProcess::OrphanProcess(QObject* parent) : QObject(parent)
{
}

OrphanProcess::~OrphanProcess() = default;

bool OrphanProcess::start(const QByteArray& program, const QList<QByteArray>& arguments,
                          std::size_t outputLimit)
{
    m_limit = outputLimit;
    Pipe output;
    Pipe errors;
    Pipe status;
    const UniqueFd input(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!input || !makePipe(output) || !makePipe(errors) || !makePipe(status)) {
        m_outcome.error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // The vectors are made before fork: nothing is allocated after it.
    QList<QByteArray> words{program};
    words += arguments;
    std::vector<char*> argv;
    for (QByteArray& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const ExecPlan plan{argv.data(), input.get(), output.write.get(), errors.write.get(),
                        status.write.get()};
    if (!startRelay(plan)) {
        m_outcome.error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_outputFd = std::move(output.read);
    m_errorFd = std::move(errors.read);
    m_statusFd = std::move(status.read);
    m_outputNotifier = new QSocketNotifier(m_outputFd.get(), QSocketNotifier::Read, this);
    m_errorNotifier = new QSocketNotifier(m_errorFd.get(), QSocketNotifier::Read, this);
    m_statusNotifier = new QSocketNotifier(m_statusFd.get(), QSocketNotifier::Read, this);
    connect(m_outputNotifier, &QSocketNotifier::activated, this,
            [this] { readOutput(m_outputFd, m_outcome.output, m_outputNotifier); });
    connect(m_errorNotifier, &QSocketNotifier::activated, this,
            [this] { readOutput(m_errorFd, m_outcome.errors, m_errorNotifier); });
    connect(m_statusNotifier, &QSocketNotifier::activated, this, &OrphanProcess::readStatus);
    m_running = true;
    return true;
}

void OrphanProcess::readOutput(UniqueFd& fd, QByteArray& into, QSocketNotifier* notifier)
{
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            // At the end, the notifier would fire for ever.
            if (got == 0 || errno != EAGAIN) {
                notifier->setEnabled(false);
                fd.reset();
            }
            return;
        }
        const std::size_t room = m_limit - std::min<std::size_t>(m_limit, std::size_t(into.size()));
        into.append(chunk, int(std::min<std::size_t>(room, std::size_t(got))));
    }
}

void OrphanProcess::readStatus()
{
    char chunk[sizeof(RelayMessage)];
    const ssize_t got = ::read(m_statusFd.get(), chunk, sizeof chunk);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
        return;
    }
    if (got > 0) {
        m_statusBytes.append(chunk, int(got));
        if (m_statusBytes.size() < int(sizeof(RelayMessage))) {
            return;
        }
    }
    if (m_statusBytes.size() == int(sizeof(RelayMessage))) {
        RelayMessage message;
        std::memcpy(&message, m_statusBytes.constData(), sizeof message);
        if (message.kind == RelayMessage::NotExecuted) {
            m_outcome.error = QString::fromLocal8Bit(std::strerror(message.value));
        } else {
            m_outcome.started = true;
            m_outcome.exitCode = WIFEXITED(message.value) ? WEXITSTATUS(message.value) : -1;
        }
    } else {
        // The relay ended without a word: the program's end is not known.
        m_outcome.started = true;
    }
    end();
}

void OrphanProcess::end()
{
    // The program has ended: all it wrote is in the pipes.
    if (m_outputFd) {
        readOutput(m_outputFd, m_outcome.output, m_outputNotifier);
    }
    if (m_errorFd) {
        readOutput(m_errorFd, m_outcome.errors, m_errorNotifier);
    }
    for (QSocketNotifier* notifier : {m_outputNotifier, m_errorNotifier, m_statusNotifier}) {
        notifier->setEnabled(false);
    }
    m_outputFd.reset();
    m_errorFd.reset();
    m_statusFd.reset();
    m_running = false;
    emit finished();
}

} // namespace schemes
