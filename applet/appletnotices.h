// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the applet tells the user on the desktop: a scheme that was not saved
// or not accepted by the daemon, and a battery running low. Each notice goes
// to the desktop's notification service; when no service takes it, it is a
// line on standard error.

#include <QString>

namespace notices {

// What stands on standard error when no service takes a notice.
enum class Fallback
{
    Line,       // the notice's own line
    AlreadySaid // nothing more: a line saying why has been written already
};

// The configuration could not be written, or has no line for the key.
void schemeNotSaved(const QString& scheme, const QString& reason, Fallback fallback);
// The daemon's reload failed.
void schemeNotApplied(const QString& scheme);
// The combined charge on battery has fallen to level percent or below; per
// is the charge now.
void batteryLow(int level, int per);

} // namespace notices
