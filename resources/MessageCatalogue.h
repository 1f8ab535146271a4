#pragma once

#include <string_view>

namespace MessageCatalogue {

// The text of message `number` (101-134). Any other number is a programming error and throws
// std::out_of_range.
std::u16string_view text(int number);

inline constexpr int firstNumber = 101;
inline constexpr int lastNumber = 134;

} // namespace MessageCatalogue
