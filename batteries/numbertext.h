// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The numbers of a state file's values (readingrules.h: numbers).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace batteries {

// An optionally signed whole number that fits 32 bits at the text's start;
// end is where its digits end. None without a digit or beyond 32 bits.
std::optional<std::int32_t> leadingWhole(std::string_view text, std::size_t& end);
// The whole text as a decimal number: an optional sign, digits with at most
// one decimal point, an optional exponent. None for any other text, beyond
// the double range, or for a number that is not 0 but comes out as 0.
std::optional<double> decimalOf(std::string_view text);

// The text without the blanks Qt's conversions allow around a number.
std::string_view withoutBlanks(std::string_view text);

// The applet's conversions, as Qt 6's QByteArray::toInt (base 10) and
// toFloat read a text, blanks around it allowed; 0 for a text that is not a
// number. An int: an optional sign and digits; a NUL byte ends the text. A
// float: a decimal number, "inf", "+inf", "-inf" or "nan"; beyond the float
// range infinite, below it 0.
int qtInt(std::string_view text);
float qtFloat(std::string_view text);

} // namespace batteries
