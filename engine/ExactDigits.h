#pragma once

#include <cstdint>
#include <string>

// Appends the next `count` decimal digits of `remainder` / `divisor` to `digits` by 64-bit integer
// long division, twelve digits a division, and steps `remainder` past them. Ends early after the
// digit that leaves no remainder, and then returns true. While ten times the divisor is at most
// 2^24, these are the digits and the remainders of the division's float steps, which are then
// exact; `remainder` below `divisor`, which is below 2^24 / 10.
bool appendExactDigits(
    std::int64_t &remainder, std::int64_t divisor, std::int64_t count, std::u16string &digits);
