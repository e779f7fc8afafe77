// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletnotices.h"

#include "lowbatterywarning.h"
#include "translated.h"

#include "notify/desktopnotice.h"
#include "schemes/switchwords.h"

#include <cstdio>

namespace notices {

namespace {

// When no service takes the notice, its line on standard error, unless a
// line saying why has been written already.
void tell(const QString& summary, const QString& body, const QString& icon, notify::Urgency urgency,
          bool reasonLogged = false)
{
    const notify::DesktopNotice notice{QStringLiteral("ovraapplet"), summary, body, icon, urgency};
    if (!notify::deliver(notice) && !reasonLogged) {
        logLine(summary + QStringLiteral(": ") + body);
    }
}

} // namespace

void logLine(const QString& text)
{
    std::fprintf(stderr, "ovraapplet: %s\n", text.toLocal8Bit().constData());
}

void switchEnded(const schemes::SwitchResult& result)
{
    using Message = schemes::SwitchMessage;
    for (const Message& message : schemes::messagesOf(result, schemes::Problems::Logged)) {
        if (message.kind == Message::Kind::Problem) {
            logLine(message.text);
        } else {
            tell(message.summary, message.text, QStringLiteral("dialog-warning"),
                 notify::Urgency::Normal, message.reasonLogged);
        }
    }
}

void batteryLow(int level, int per)
{
    // TRANSLATORS: %1 is the charge in percent, as in "9 %".
    const QString body =
        translated(I18N_NOOP("%1 % of the battery's charge is left. Connect the power supply."))
            .arg(per);
    if (level <= LowBatteryWarning::LastLevel) {
        // TRANSLATORS: the notice at 5 % charge.
        const QString summary = translated(I18N_NOOP("Battery almost empty"));
        tell(summary, body, QStringLiteral("battery-caution"), notify::Urgency::Critical);
    } else {
        // TRANSLATORS: the notice at 10 % charge.
        const QString summary = translated(I18N_NOOP("Battery low"));
        tell(summary, body, QStringLiteral("battery-low"), notify::Urgency::Normal);
    }
}

} // namespace notices
