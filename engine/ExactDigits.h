#pragma once

#include <cstdint>
#include <string>

// While ten times the divisor is at most 2^24, the division's float steps are exact integer long
// division: these give their digits and remainders by 64-bit integer arithmetic. `remainder` is
// below `divisor`, which is below 2^24 / 10.
namespace ExactDigits {

// At most twelve digits in one 64-bit division.
inline constexpr int blockDigits = 12;

// Appends the next `count` (at most blockDigits) decimal digits of `remainder` / `divisor` to
// `digits` and steps `remainder` past them. Ends early after the digit that leaves no remainder,
// and then returns true.
bool append(std::int64_t &remainder, std::int64_t divisor, int count, std::string &digits);

// The remainder `count` digits on, without the digits.
std::int64_t remainderAfter(std::int64_t remainder, std::int64_t divisor, std::int64_t count);

} // namespace ExactDigits
