// SPDX-License-Identifier: GPL-2.0-or-later
#include "kprocess.h"

#include <QProcess>

KProcess::KProcess(QObject* parent) : QObject(parent), m_shell("/bin/sh")
{
}

KProcess::~KProcess()
{
    releaseChild();
}

void KProcess::setUseShell(bool useShell, const char* shell)
{
    m_useShell = useShell;
    m_shell = (shell && *shell) ? QByteArray(shell) : QByteArray("/bin/sh");
}

KProcess& KProcess::operator<<(const QString& arg)
{
    m_arguments << arg;
    return *this;
}

KProcess& KProcess::operator<<(const char* arg)
{
    m_arguments << QString::fromLocal8Bit(arg);
    return *this;
}

KProcess& KProcess::operator<<(const QStringList& args)
{
    m_arguments << args;
    return *this;
}

void KProcess::clearArguments()
{
    m_arguments.clear();
}

bool KProcess::start(RunMode runMode, Communication comm)
{
    if (m_running || m_arguments.isEmpty()) {
        return false;
    }
    if (comm != NoCommunication) {
        qWarning("KProcess: only NoCommunication is supported");
        return false;
    }
    releaseChild();
    m_runMode = runMode;
    m_normalExit = false;
    m_exitStatus = 0;

    // No parent: the child process must be able to outlive this object.
    m_child = new QProcess;
    m_child->setProcessChannelMode(QProcess::ForwardedChannels);
    m_child->setInputChannelMode(QProcess::ForwardedInputChannel);
    connect(m_child, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            [this](int exitCode, QProcess::ExitStatus status) {
                onFinished(exitCode, status == QProcess::CrashExit);
            });

    if (m_useShell) {
        m_child->start(QString::fromLocal8Bit(m_shell),
                       {QStringLiteral("-c"), m_arguments.join(QLatin1Char(' '))});
    } else {
        m_child->start(m_arguments.constFirst(), m_arguments.mid(1));
    }
    if (!m_child->waitForStarted(-1)) {
        delete m_child;
        m_child = nullptr;
        return false;
    }
    m_pid = static_cast<pid_t>(m_child->processId());
    m_running = true;
    if (runMode == Block) {
        m_child->waitForFinished(-1);
    }
    return true;
}

void KProcess::onFinished(int exitCode, bool crashed)
{
    m_running = false;
    m_normalExit = !crashed;
    m_exitStatus = exitCode;
    if (m_runMode != DontCare) {
        Q_EMIT processExited(this);
    }
}

void KProcess::releaseChild()
{
    if (!m_child) {
        return;
    }
    QProcess* child = m_child;
    m_child = nullptr;
    child->disconnect(this);
    if (child->state() == QProcess::NotRunning) {
        delete child;
        return;
    }
    // The child still runs. Deleting the QProcess would kill it and wait; keep
    // the QProcess instead, so that it reaps the child when it ends and then
    // goes away itself.
    QObject::connect(child, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), child,
                     &QObject::deleteLater);
    m_running = false;
}
