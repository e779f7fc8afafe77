// SPDX-License-Identifier: GPL-2.0-or-later
#include "switchclient.h"
#include "bytesview.h"
#include "daemonschemes.h"

#include "powerdaemon/helpercall.h"
#include "powerdaemon/powersavedaemon.h"

#include <QCoreApplication>
#include <QPointer>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace schemes {

namespace {

// Root's switches running aside, counted so that the program's end can wait
// for them.
std::mutex asideMutex;
std::condition_variable asideEnded;
int asideRunning = 0;

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
    connect(&m_process, &OrphanProcess::finished, this, &SwitchClient::collect);
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
        if (m_rules == powerdaemon::Rules::Popup && QCoreApplication::instance()) {
            startAside(switchRequest(m_rules, choice));
            return;
        }
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
    QList<QByteArray> arguments;
    for (const std::string& argument : powerdaemon::pkexecArguments(
             m_rules, mains ? powerdaemon::AcSchemeKey : powerdaemon::BatterySchemeKey,
             bytesView(mains ? *choice.mains : *choice.battery))) {
        arguments << QByteArray::fromStdString(argument);
    }
    if (!m_process.start(powerdaemon::Pkexec, arguments, powerdaemon::HelperOutputLimit)) {
        m_result.pkexecMessage = m_process.outcome().error;
        emit finished(m_result);
    }
}

void SwitchClient::startAside(const powerdaemon::SwitchRequest& request)
{
    m_runningAside = true;
    {
        const std::lock_guard<std::mutex> lock(asideMutex);
        ++asideRunning;
    }
    // The report comes back through the application's event queue; a client
    // deleted meanwhile (the wait given up) is not told.
    QPointer<SwitchClient> client(this);
    QCoreApplication* application = QCoreApplication::instance();
    std::thread([request, client, application] {
        powerdaemon::SwitchReport report;
        try {
            report = powerdaemon::switchScheme(request);
        } catch (const std::exception& error) {
            report.refused = true;
            report.reason = error.what();
        }
        QMetaObject::invokeMethod(
            application,
            [client, report] {
                if (client) {
                    client->endAside(report);
                }
            },
            Qt::QueuedConnection);
        {
            const std::lock_guard<std::mutex> lock(asideMutex);
            --asideRunning;
        }
        asideEnded.notify_all();
    }).detach();
}

void SwitchClient::endAside(const powerdaemon::SwitchReport& report)
{
    m_runningAside = false;
    m_result.report = report;
    emit finished(m_result);
}

void waitForSwitchesAside(std::chrono::milliseconds bound)
{
    std::unique_lock<std::mutex> lock(asideMutex);
    asideEnded.wait_for(lock, bound, [] { return asideRunning == 0; });
}

void SwitchClient::collect()
{
    const OrphanProcess::Outcome& ended = m_process.outcome();
    m_result.pkexecStarted = ended.started;
    if (!m_result.pkexecStarted) {
        m_result.pkexecMessage = ended.error;
        emit finished(m_result);
        return;
    }
    m_result.pkexecStatus = ended.exitCode;
    m_result.report = powerdaemon::helperReport(bytesView(ended.output));
    m_result.pkexecMessage = QString::fromLocal8Bit(ended.errors).trimmed();
    // Neither refused by pkexec nor reported by the helper: the switch may
    // have been made. What the file says now is all that is known.
    if (!m_result.report && !powerdaemon::pkexecRefused(m_result.pkexecStatus)) {
        m_result.afterwards = DaemonSchemes(m_rules).inForce();
    }
    emit finished(m_result);
}

} // namespace schemes
