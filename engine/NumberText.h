#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Conversions between numbers and their texts. The decimal separator of the user's locale is
// always passed in, so nothing here depends on global state.
namespace NumberText {

// Reads the number at the start of `text`, ignoring the locale: blanks, tabs and line feeds are
// skipped anywhere, "." is the decimal point, an exponent may follow. Never fails: a text without a
// number gives 0, a number beyond the double range gives an infinity.
double leadingNumber(std::u16string_view text);

// The shortest text of at most 15 significant digits that `value` rounds to; exponent form from
// 1E+15 on and below 1E-04. Infinities are written as "∞" and "-∞".
std::u16string fromDouble(double value, std::u16string_view decimalSeparator);

// As fromDouble, with at most 7 significant digits and exponent form from 1E+07 on.
std::u16string fromFloat(float value, std::u16string_view decimalSeparator);

// Reads a whole text written in the locale's notation (as fromDouble and fromFloat write it),
// rounded to the nearest value of the target type; a value beyond the range gives an infinity.
// A text that is not such a number gives NaN.
double toDouble(std::u16string_view text, std::u16string_view decimalSeparator);
float toFloat(std::u16string_view text, std::u16string_view decimalSeparator);

// Rounds to the nearest integer, ties to even; nothing when the result lies outside the 32-bit
// signed range or `value` is not finite.
std::optional<std::int32_t> toInt32(float value);

} // namespace NumberText
