#include "ExactDigits.h"

#include <algorithm>
#include <array>

namespace {

// Ten to the twelfth times a remainder below 2^24 / 10 still fits 63 bits.
constexpr int blockDigits = 12;

constexpr std::array<std::int64_t, blockDigits + 1> powersOfTen = [] {
    std::array<std::int64_t, blockDigits + 1> powers {};
    powers[0] = 1;
    for (int exponent = 1; exponent <= blockDigits; ++exponent)
        powers[exponent] = powers[exponent - 1] * 10;
    return powers;
}();

} // namespace

bool appendExactDigits(
    std::int64_t &remainder, std::int64_t divisor, std::int64_t count, std::u16string &digits)
{
    while (count > 0) {
        const int block = int(std::min<std::int64_t>(count, blockDigits));
        const std::int64_t scaled = remainder * powersOfTen[block];
        std::int64_t quotient = scaled / divisor;
        remainder = scaled % divisor;
        const std::size_t end = digits.size() + std::size_t(block);
        digits.resize(end);
        for (std::size_t at = end; at-- > end - std::size_t(block); quotient /= 10)
            digits[at] = char16_t(u'0' + quotient % 10);
        count -= block;
        if (remainder == 0) {
            // The block began with a remainder, so its last digit that is not nought ends it.
            while (digits.back() == u'0')
                digits.pop_back();
            return true;
        }
    }
    return false;
}
