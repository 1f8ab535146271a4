#include "ExactDigits.h"

#include <array>
#include <cstring>

namespace {

constexpr std::int64_t tenThousand = 10'000;

constexpr std::array<std::int64_t, ExactDigits::blockDigits + 1> powersOfTen = [] {
    std::array<std::int64_t, ExactDigits::blockDigits + 1> powers {};
    powers[0] = 1;
    for (std::size_t exponent = 1; exponent < powers.size(); ++exponent)
        powers[exponent] = powers[exponent - 1] * 10;
    return powers;
}();

// The four digits of every number below ten thousand, so a block is written four digits a step.
constexpr std::array<std::array<char, 4>, tenThousand> fourDigits = [] {
    std::array<std::array<char, 4>, tenThousand> table {};
    for (std::size_t number = 0; number < table.size(); ++number)
        for (std::size_t digit = 0, rest = number; digit < 4; ++digit, rest /= 10)
            table[number][3 - digit] = char('0' + rest % 10);
    return table;
}();

} // namespace

bool ExactDigits::append(
    std::int64_t &remainder, std::int64_t divisor, int count, std::string &digits)
{
    // Ten to the twelfth times a remainder below 2^24 / 10 still fits 63 bits.
    const std::int64_t scaled = remainder * powersOfTen[std::size_t(count)];
    const std::int64_t quotient = scaled / divisor;
    remainder = scaled % divisor;
    // The block's digits are the last `count` of three groups of four.
    char written[blockDigits];
    std::memcpy(written, fourDigits[std::size_t(quotient / (tenThousand * tenThousand))].data(), 4);
    std::memcpy(
        written + 4, fourDigits[std::size_t(quotient / tenThousand % tenThousand)].data(), 4);
    std::memcpy(written + 8, fourDigits[std::size_t(quotient % tenThousand)].data(), 4);
    std::size_t end = blockDigits;
    // The block began with a remainder, so its last digit that is not nought ends the result.
    if (remainder == 0)
        while (written[end - 1] == '0')
            --end;
    digits.append(written + blockDigits - count, end - std::size_t(blockDigits - count));
    return remainder == 0;
}

std::int64_t ExactDigits::remainderAfter(
    std::int64_t remainder, std::int64_t divisor, std::int64_t count)
{
    std::int64_t power = 1, base = 10 % divisor;
    for (; count > 0; count /= 2, base = base * base % divisor)
        if (count % 2)
            power = power * base % divisor;
    return remainder * power % divisor;
}
