#pragma once
// The two scheme keys over the bytes of the daemon's common settings file.

#include <QByteArray>

// Reads AC_SCHEME and BATTERY_SCHEME: the last line of a key with a non-empty
// value wins; a key the text lacks leaves its variable as it was.
void ReadSchemeKeys(const QByteArray& text, QByteArray& acScheme, QByteArray& batteryScheme);

// The key update: every line that names a key (comments excepted) becomes
// that key's assignment with the value given; all other lines keep their
// bytes. Every line of the result ends with a line feed.
QByteArray UpdateSchemeKeysText(const QByteArray& text, const QByteArray& acScheme,
                                const QByteArray& batteryScheme);
