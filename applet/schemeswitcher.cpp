// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemeswitcher.h"

#include "powerdaemon/helpercall.h"
#include "powerdaemon/powersavedaemon.h"

#include <QFile>

SchemeSwitcher::SchemeSwitcher(QObject* parent) : QObject(parent)
{
    connect(&m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &SchemeSwitcher::collect);
    connect(&m_process, &QProcess::errorOccurred, this, &SchemeSwitcher::failedToStart);
}

SchemeSwitcher::~SchemeSwitcher()
{
    m_process.disconnect(this);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

void SchemeSwitcher::start(const QByteArray& key, const QString& name)
{
    QStringList arguments;
    for (const std::string& argument :
         powerdaemon::pkexecArguments(powerdaemon::Rules::Applet, key.toStdString(),
                                      QFile::encodeName(name).toStdString())) {
        arguments << QFile::decodeName(QByteArray::fromStdString(argument));
    }
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.start(QString::fromLatin1(powerdaemon::Pkexec), arguments);
}

void SchemeSwitcher::collect()
{
    Result result;
    result.started = true;
    result.exitCode = m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    const QByteArray output = m_process.readAllStandardOutput();
    result.report =
        powerdaemon::helperReport(std::string_view(output.constData(), std::size_t(output.size())));
    result.message = QString::fromLocal8Bit(m_process.readAllStandardError().left(
                                                qsizetype(powerdaemon::HelperOutputLimit)))
                         .trimmed();
    emit finished(result);
}

void SchemeSwitcher::failedToStart(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart) {
        return;
    }
    Result result;
    result.message = m_process.errorString();
    emit finished(result);
}
