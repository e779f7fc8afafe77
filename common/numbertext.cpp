// SPDX-License-Identifier: GPL-2.0-or-later
// Number conversions that never fail: -1 for an empty text, -2 for a text
// that is not a number.
#include "UPMComm.h"

#include <QtNumeric>

#include <limits>

namespace {

constexpr qint32 EmptyInt = -1;
constexpr qint32 BadInt = -2;
constexpr double EmptyFloat = -1.0;
constexpr double BadFloat = -2.0;

qsizetype skipBlanks(const QByteArray& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    return i;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Optional sign, digits with at most one decimal point (at least one digit),
// optional exponent; nothing else.
bool spellsDecimal(const QByteArray& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i, ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const qsizetype exponentStart = i;
        while (i < n && isDigit(text[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return false;
        }
    }
    return i == n;
}

// Cuts `text` at its last blank: number from the part before it, unit from
// the part after it. Without a blank nothing changes.
template <typename Number, typename Convert>
void splitAtLastBlank(const QByteArray& text, Number& number, QByteArray& unit, Convert convert)
{
    const qsizetype blank = text.lastIndexOf(' ');
    if (blank < 0) {
        return;
    }
    number = convert(text.left(blank));
    unit = text.mid(blank + 1);
}

} // namespace

qint32 StrToIntSafe(const QByteArray& text)
{
    if (text.isEmpty()) {
        return EmptyInt;
    }
    qsizetype i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return BadInt;
    }
    // A negative number may reach one past the positive maximum.
    const qint64 limit = negative ? -qint64(std::numeric_limits<qint32>::min())
                                  : qint64(std::numeric_limits<qint32>::max());
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) {
            return BadInt;
        }
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            return BadInt;
        }
    }
    return static_cast<qint32>(negative ? -magnitude : magnitude);
}

double StrToFloatSafe(const QByteArray& text)
{
    if (text.isEmpty()) {
        return EmptyFloat;
    }
    const QByteArray number = text.mid(skipBlanks(text));
    if (!spellsDecimal(number)) {
        return BadFloat;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && qIsFinite(value) ? value : BadFloat;
}

void SplitIntUnit(const QByteArray& text, qint32& number, QByteArray& unit)
{
    splitAtLastBlank(text, number, unit, StrToIntSafe);
}

void SplitFloatUnit(const QByteArray& text, double& number, QByteArray& unit)
{
    splitAtLastBlank(text, number, unit, StrToFloatSafe);
}
