// SPDX-License-Identifier: GPL-2.0-or-later
#include "switchclient.h"
#include "bytesview.h"

#include "powerdaemon/helpercall.h"
#include "powerdaemon/powersavedaemon.h"

#include <QFile>

#include <unistd.h>

namespace schemes {

namespace {

std::optional<std::string> nameOf(const std::optional<QByteArray>& id)
{
    return id ? std::optional<std::string>(id->toStdString()) : std::nullopt;
}

} // namespace

powerdaemon::SwitchRequest switchRequest(powerdaemon::Rules rules, const SchemeChoice& choice)
{
    return {rules, nameOf(choice.mains), nameOf(choice.battery)};
}

SwitchClient::SwitchClient(powerdaemon::Rules rules, const SchemeChoice& choice, QObject* parent)
    : SchemeSwitch(parent), m_rules(rules)
{
    m_result.choice = choice;
    connect(&m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &SwitchClient::collect);
    connect(&m_process, &QProcess::errorOccurred, this, &SwitchClient::failedToStart);
}

SwitchClient::~SwitchClient()
{
    m_process.disconnect(this);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

bool SwitchClient::runsThroughHelper()
{
    return ::getuid() != 0;
}

void SwitchClient::start()
{
    const SchemeChoice& choice = m_result.choice;
    if (!runsThroughHelper()) {
        m_result.ranHere = true;
        m_result.report = powerdaemon::switchScheme(switchRequest(m_rules, choice));
        emit finished(m_result);
        return;
    }
    if (choice.mains.has_value() == choice.battery.has_value()) {
        powerdaemon::SwitchReport refused;
        refused.refused = true;
        refused.reason = "the switch helper sets the scheme of one power source at a time";
        m_result.report = refused;
        emit finished(m_result);
        return;
    }
    const bool mains = choice.mains.has_value();
    QStringList arguments;
    for (const std::string& argument : powerdaemon::pkexecArguments(
             m_rules, mains ? powerdaemon::AcSchemeKey : powerdaemon::BatterySchemeKey,
             bytesView(mains ? *choice.mains : *choice.battery))) {
        arguments << QFile::decodeName(QByteArray::fromStdString(argument));
    }
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.start(QString::fromLatin1(powerdaemon::Pkexec), arguments);
}

void SwitchClient::collect()
{
    m_result.pkexecStarted = true;
    m_result.pkexecStatus =
        m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_result.report = powerdaemon::helperReport(bytesView(m_process.readAllStandardOutput()));
    m_result.pkexecMessage = QString::fromLocal8Bit(m_process.readAllStandardError().left(
                                                        qsizetype(powerdaemon::HelperOutputLimit)))
                                 .trimmed();
    emit finished(m_result);
}

void SwitchClient::failedToStart(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart) {
        return;
    }
    m_result.pkexecMessage = m_process.errorString();
    emit finished(m_result);
}

} // namespace schemes
