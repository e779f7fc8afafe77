// SPDX-License-Identifier: GPL-2.0-or-later
// Number conversions that never fail: -1 for an empty text, -2 for a text
// that is not a number.
#include "UPMComm.h"

#include "batteries/numbertext.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr qint32 EmptyInt = -1;
constexpr qint32 BadInt = -2;
constexpr double EmptyFloat = -1.0;
constexpr double BadFloat = -2.0;

// The text without its leading blanks.
std::string_view withoutLeadingBlanks(const QByteArray& text)
{
    std::string_view view(text.constData(), std::size_t(text.size()));
    return view.substr(std::min(view.find_first_not_of(' '), view.size()));
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
    const std::string_view digits = withoutLeadingBlanks(text);
    std::size_t end = 0;
    const std::optional<qint32> value = batteries::leadingWhole(digits, end);
    return value && end == digits.size() ? *value : BadInt;
}

double StrToFloatSafe(const QByteArray& text)
{
    if (text.isEmpty()) {
        return EmptyFloat;
    }
    return batteries::decimalOf(withoutLeadingBlanks(text)).value_or(BadFloat);
}

void SplitIntUnit(const QByteArray& text, qint32& number, QByteArray& unit)
{
    splitAtLastBlank(text, number, unit, StrToIntSafe);
}

void SplitFloatUnit(const QByteArray& text, double& number, QByteArray& unit)
{
    splitAtLastBlank(text, number, unit, StrToFloatSafe);
}
