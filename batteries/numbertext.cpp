// SPDX-License-Identifier: GPL-2.0-or-later
#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace batteries {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The blanks Qt's conversions allow around a number.
bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// How many digits text has from i on.
std::size_t digitsFrom(std::string_view text, std::size_t i)
{
    std::size_t n = 0;
    while (i + n < text.size() && isDigit(text[i + n])) {
        ++n;
    }
    return n;
}

bool spellsDecimal(std::string_view text)
{
    std::size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    std::size_t digits = digitsFrom(text, i);
    i += digits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = digitsFrom(text, i + 1);
        digits += fraction;
        i += 1 + fraction;
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponent = digitsFrom(text, i);
        if (exponent == 0) {
            return false;
        }
        i += exponent;
    }
    return i == text.size();
}

} // namespace

std::string_view withoutBlanks(std::string_view text)
{
    while (!text.empty() && isAsciiSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isAsciiSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::int32_t> leadingWhole(std::string_view text, std::size_t& end)
{
    const bool signed_ = !text.empty() && (text[0] == '+' || text[0] == '-');
    const bool negative = signed_ && text[0] == '-';
    // A negative number may reach one past the positive maximum.
    const std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + negative;
    const std::size_t digits = digitsFrom(text, signed_);
    std::int64_t magnitude = 0;
    for (std::size_t i = signed_; i < signed_ + digits; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    end = signed_ + digits;
    if (digits == 0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::optional<double> decimalOf(std::string_view text)
{
    if (!spellsDecimal(text)) {
        return std::nullopt;
    }
    if (text.front() == '+') {
        text.remove_prefix(1); // from_chars takes no plus sign
    }
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return value;
}

int qtInt(std::string_view text)
{
    if (!text.empty() && text.front() == '\0') {
        return 0;
    }
    text = withoutBlanks(text);
    std::size_t end = 0;
    const std::optional<std::int32_t> value = leadingWhole(text, end);
    // Blanks may follow the digits; a NUL byte ends the text.
    const std::string_view rest = withoutBlanks(text.substr(value ? end : 0));
    return value && (rest.empty() || rest.front() == '\0') ? *value : 0;
}

float qtFloat(std::string_view text)
{
    text = withoutBlanks(text);
    constexpr float infinity = std::numeric_limits<float>::infinity();
    if (text == "nan") {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (text == "inf" || text == "+inf" || text == "-inf") {
        return text[0] == '-' ? -infinity : infinity;
    }
    const double value = decimalOf(text).value_or(0);
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        return value < 0 ? -infinity : infinity;
    }
    // Qt counts a number that float rounds to 0 as no number.
    return value != 0 && float(value) == 0 ? 0.0f : float(value);
}

} // namespace batteries
