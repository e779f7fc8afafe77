// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The power daemon's configuration as the applet rewrites it, by the
// shell's rules (powerdaemon/configtext.h): the file half of the one switch
// (powerdaemon::writeSchemeKeys) by the applet's rules, its problems said
// on standard error in the applet's words. The applet's switch itself goes
// through its scheme menu (schememenu.h).

#include <QByteArray>

// The text with value set on every line that assigns key: only the value
// word is replaced, by value in double quotes; a line that already gives
// value keeps its bytes, and so does every other line. value must be a safe
// scheme name (powerdaemon::isSafeSchemeName).
QByteArray setSchemeValue(const QByteArray& text, const QByteArray& key, const QByteArray& value);

enum class SchemeWrite
{
    Written, // the file gives key the value now (also when it did already)
    Refused, // value is no safe scheme name; the file is untouched
    Failed,  // missing, unreadable or not writable; the file is untouched
    NoKey    // no line assigns key, and none is added; the file is untouched
};

// Sets key (AC_SCHEME or BATTERY_SCHEME) to value in the file fileName,
// through a new file renamed over it. A missing file is never created.
// Refusals and failures are said on standard error.
SchemeWrite writeSchemeValue(const char* fileName, const QByteArray& key, const QByteArray& value);
