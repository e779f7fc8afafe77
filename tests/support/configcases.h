// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Generated power daemon configurations for property tests of the scheme
// key update: hand-edited shell in many forms, and what bash makes of it.

#include <QByteArray>
#include <QList>
#include <QString>

namespace configcases {

enum class Key
{
    Ac,
    Battery
};

// A generated assignment line in its parts.
struct KeyLine
{
    int line = 0;
    Key key = Key::Ac;
    QByteArray prefix; // blanks and "export"
    QByteArray value;  // what bash reads from the word
    QByteArray suffix; // blanks, comment, "; ..."
    QByteArray end;    // "\n", "\r\n" or nothing
};

struct Case
{
    QByteArray text;
    QList<KeyLine> keyLines;
    QList<int> acLines;      // lines (0-based) that assign AC_SCHEME
    QList<int> batteryLines; // lines that assign BATTERY_SCHEME
    QByteArray newValue;     // a scheme name that may be written
    Key key = Key::Ac;       // the key to set
};

// count cases from a fixed seed: comments, blank lines, other keys (also
// OLD_AC_SCHEME, AC_SCHEMES, MY_BATTERY_SCHEME), duplicates, "export",
// values in double, single or no quotes, trailing blanks and comments,
// line feeds with or without carriage returns.
QList<Case> generate(int count, unsigned seed);

// What bash gives a key after sourcing a text.
struct KeyValue
{
    bool set = false;
    QByteArray value;
    bool operator==(const KeyValue& other) const
    {
        return set == other.set && value == other.value;
    }
};
struct Sourced
{
    KeyValue ac;
    KeyValue battery;
};

// Sources every text in a bash of its own (one bash program for all of
// them) and returns both keys' values, in the texts' order.
QList<Sourced> sourceAll(const QList<QByteArray>& texts);

// Empty when `after` is right for `c`: bash reads the new value for the key
// set (or as before when no line assigns it), the other key as before,
// every line that does not assign the key set has its bytes, and one that
// does has them too or has only its value word replaced by the new value in
// double quotes (keeping them where it already gave the value, line feed
// only).
QString mismatch(const Case& c, const QByteArray& after, const Sourced& bashBefore,
                 const Sourced& bashAfter);

} // namespace configcases
