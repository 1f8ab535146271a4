// Input: operands, a piece size and a limit, taken from the bytes. The engine's digits, written in
// pieces and copied once they repeat, are the division's float steps taken one at a time; and the
// period found for them is the shortest the digit string itself shows.
#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "DivisionSteps.h"
#include "FuzzCheck.h"
#include "PeriodFinder.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Keeps the digits as the window does.
struct Digits : DivisionHost
{
    std::u16string dividend, divisor;
    std::string digits;

    std::u16string dividendText() const override { return dividend; }
    void setDividendText(std::u16string_view) override { }
    std::u16string divisorText() const override { return divisor; }
    void setDivisorText(std::u16string_view) override { }
    void setResultText(std::u16string_view) override { digits.clear(); }
    void appendToResultText(std::string_view piece) override { digits.append(piece); }
    void repeatResultDigits(std::int64_t period, std::int64_t count) override
    {
        for (; count > 0; --count)
            digits += digits[digits.size() - std::size_t(period)];
    }
    void setStartEnabled(bool) override { }
    void showWarning(std::u16string_view) override { }
    void yield() override { }
};

std::uint32_t number(const std::uint8_t *data, std::size_t size, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | (at + i < size ? data[at + i] : 0);
    return value;
}

// The digits of the float steps, at most `count` characters; fewer where the division ends.
std::string steppedDigits(float dividend, float divisor, std::size_t count, float &partial)
{
    std::string digits;
    partial = std::fabs(dividend);
    bool ended = DivisionSteps::dividesExactly(partial, divisor);
    while (!ended && digits.size() < count) {
        partial = DivisionSteps::nextDividend(partial, divisor);
        const float digit = DivisionSteps::quotientFloor(partial, divisor);
        digits += digit < 10 ? std::string(1, char('0' + int(digit))) : std::to_string(int(digit));
        ended = DivisionSteps::dividesExactly(partial, divisor);
    }
    return digits;
}

// The shortest period the string repeats with over its second half at least, and the first place it
// repeats from.
Period plainPeriod(const std::string &digits)
{
    const auto size = std::int64_t(digits.size());
    for (std::int64_t length = 1; 2 * length <= size; ++length) {
        std::int64_t place = size - length;
        while (
            place > 0 && digits[std::size_t(place - 1)] == digits[std::size_t(place - 1 + length)])
            --place;
        if (2 * place <= size)
            return { Period::Kind::Repeats, place, length };
    }
    return { Period::Kind::BeyondLimit };
}

std::u16string text(std::int64_t value)
{
    const std::string ascii = std::to_string(value);
    return { ascii.begin(), ascii.end() };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A divisor either side of the edge of the integer path, 2^24 / 10, or anywhere.
    const std::uint32_t kind = number(data, size, 0) % 3;
    const auto spread = std::int64_t(number(data, size, 4) % 4000);
    const std::int64_t divisor = kind == 0 ? 1677721 - 2000 + spread
        : kind == 1                        ? 1 + spread
                                           : 1 + std::int64_t(number(data, size, 4) % 2147483583);
    const auto dividend = std::int64_t(number(data, size, 8) % (1u << 30));
    const auto piece = std::int64_t(1 + number(data, size, 12) % 70000);
    const auto limit = std::int64_t(1 + number(data, size, 16) % 200000);

    Digits host;
    host.dividend = text(dividend);
    host.divisor = text(divisor);
    DivisionEngine engine(host, u",", limit, piece);
    engine.StartDivision();

    float partial = 0;
    const std::string stepped
        = steppedDigits(float(dividend), float(divisor), std::size_t(limit), partial);
    check(host.digits == stepped, "the engine writes the float steps' digits");
    check(stepped.empty() || engine.Dividend == partial, "the engine ends in the steps' state");

    const std::string shown = steppedDigits(float(dividend), float(divisor), 6000, partial);
    const Period found = findPeriod(float(dividend), float(divisor), 100'000'000);
    if (found.kind == Period::Kind::Ends)
        check(std::int64_t(shown.size()) == found.preperiod, "a result that ends ends there");
    if (found.kind != Period::Kind::Repeats || found.preperiod + 2 * found.length > 3000)
        return 0;
    const Period plain = plainPeriod(shown);
    check(found.preperiod == plain.preperiod && found.length == plain.length,
        "the period is the digits' shortest");
    return 0;
}
