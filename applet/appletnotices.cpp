// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletnotices.h"

#include "lowbatterywarning.h"
#include "translated.h"

#include "notify/desktopnotice.h"

#include <cstdio>

namespace notices {

namespace {

void tell(const QString& summary, const QString& body, const QString& icon, notify::Urgency urgency,
          Fallback fallback = Fallback::Line)
{
    const notify::DesktopNotice notice{QStringLiteral("ovraapplet"), summary, body, icon, urgency};
    if (!notify::deliver(notice) && fallback == Fallback::Line) {
        std::fprintf(stderr, "ovraapplet: %s: %s\n", summary.toLocal8Bit().constData(),
                     body.toLocal8Bit().constData());
    }
}

} // namespace

void schemeNotSaved(const QString& scheme, const QString& reason, Fallback fallback)
{
    const QString summary = translated(I18N_NOOP("Power scheme not saved"));
    // TRANSLATORS: %1 is the scheme's name, %2 says why it was not saved.
    const QString body = translated(I18N_NOOP("The scheme \"%1\" was not saved: %2"));
    tell(summary, body.arg(scheme, reason), QStringLiteral("dialog-warning"),
         notify::Urgency::Normal, fallback);
}

void schemeNotApplied(const QString& scheme)
{
    const QString summary = translated(I18N_NOOP("Power scheme not applied"));
    // TRANSLATORS: %1 is the scheme's name.
    const QString body =
        translated(I18N_NOOP("The power daemon did not accept the scheme \"%1\"."));
    tell(summary, body.arg(scheme), QStringLiteral("dialog-warning"), notify::Urgency::Normal);
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
