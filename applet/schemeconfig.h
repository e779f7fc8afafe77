// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The power daemon's configuration as the applet reads and rewrites it, by
// the shell's rules: a key's line is a line that bash reads as an assignment
// to exactly that key (also after "export"), and its value is what bash
// reads. Works on the file's bytes, so that every line the applet does not
// set keeps them.

#include <QByteArray>

// The value bash gives key on the first line that assigns it. Empty when no
// line assigns it, or when that value holds an expansion ($, a backquote, an
// unquoted ~), which only the shell can work out.
QByteArray readSchemeValue(const QByteArray& text, const QByteArray& key);

// True when value is a name that the root-owned file may hold: letters,
// digits, ".", "_", "+" and "-", nothing that means anything to the shell.
bool isSafeSchemeValue(const QByteArray& value);

// The text with value set on every line that assigns key: only the value
// word is replaced, by value in double quotes; a line that already gives
// value keeps its bytes, and so does every other line. value must pass
// isSafeSchemeValue.
QByteArray setSchemeValue(const QByteArray& text, const QByteArray& key, const QByteArray& value);

enum class SchemeWrite
{
    Written, // the file gives key the value now (also when it did already)
    Refused, // value did not pass isSafeSchemeValue; the file is untouched
    Failed,  // missing, unreadable or not writable; the file is untouched
    NoKey    // no line assigns key, and none is added; the file is untouched
};

// Sets key to value in the file fileName, through a new file renamed over
// it. A missing file is never created. Refusals and failures are said on
// standard error.
SchemeWrite writeSchemeValue(const char* fileName, const QByteArray& key, const QByteArray& value);
