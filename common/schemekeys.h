// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two scheme keys over the bytes of the daemon's common settings file.

#include <QByteArray>

#include <optional>
#include <stdexcept>

// Raised for a scheme name that would not read back as itself from double
// quotes in a file the daemon sources as root.
class UnsafeSchemeName : public std::runtime_error
{
public:
    explicit UnsafeSchemeName(const QByteArray& name);
};

// Reads AC_SCHEME and BATTERY_SCHEME from the lines that the shell reads as
// assignments to them, with the value the shell gives: the last line of a
// key with a non-empty value wins; a key the text lacks, or a value that
// holds an expansion, leaves its variable as it was.
void ReadSchemeKeys(const QByteArray& text, QByteArray& acScheme, QByteArray& batteryScheme);

// The key update: each key given gets its value on every line that assigns
// it, only the value word replaced; a key given as nullopt, and every other
// line, keep their bytes. Raises UnsafeSchemeName before anything else.
QByteArray UpdateSchemeKeysText(const QByteArray& text, const std::optional<QByteArray>& acScheme,
                                const std::optional<QByteArray>& batteryScheme);

// True when every key given has a line that gives it that value.
bool SchemeKeysGiven(const QByteArray& text, const std::optional<QByteArray>& acScheme,
                     const std::optional<QByteArray>& batteryScheme);
