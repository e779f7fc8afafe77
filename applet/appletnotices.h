// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the applet tells the user on the desktop: what came of a scheme
// switch that did not take effect, and a battery running low. Each notice
// goes to the desktop's notification service; when no service takes it, it
// is a line on standard error.

#include <QString>

namespace schemes {
struct SwitchResult;
}

namespace notices {

// A line "ovraapplet: TEXT" on standard error.
void logLine(const QString& text);
// A switch's result in the words of schemes/switchwords.h: its problems on
// standard error, the rest as notices.
void switchEnded(const schemes::SwitchResult& result);
// The combined charge on battery has fallen to level percent or below; per
// is the charge now.
void batteryLow(int level, int per);

} // namespace notices
