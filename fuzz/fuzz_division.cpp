// Input: operands, a piece size and a limit. The engine's digits, written in pieces and copied once
// they repeat, are the float steps' own, and the period found is the shortest the digits show.
#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "DivisionSteps.h"
#include "FuzzCheck.h"
#include "PeriodFinder.h"

#include <string>

// Keeps the digits as the window does.
struct Digits : DivisionHost
{
    std::string dividend, divisor, digits;

    std::u16string dividendText() const override { return { dividend.begin(), dividend.end() }; }
    void setDividendText(std::u16string_view) override { }
    std::u16string divisorText() const override { return { divisor.begin(), divisor.end() }; }
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

// The digits of the float steps, at most `count` characters; fewer where the division ends.
static std::string steppedDigits(float dividend, float divisor, std::size_t count, float &partial)
{
    std::string digits;
    partial = dividend;
    while (digits.size() < count && !DivisionSteps::dividesExactly(partial, divisor)) {
        partial = DivisionSteps::nextDividend(partial, divisor);
        digits += std::to_string(int(DivisionSteps::quotientFloor(partial, divisor)));
    }
    return digits;
}

// Where the string ends, or else the shortest period it repeats with over its second half at least
// and the first place it repeats from; nought and nought where it does neither.
static std::pair<std::int64_t, std::int64_t> period(const std::string &digits, std::size_t limit)
{
    if (digits.size() < limit)
        return { digits.size(), 0 };
    for (std::size_t length = 1; 2 * length <= digits.size(); ++length) {
        std::size_t place = digits.size() - length;
        while (place > 0 && digits[place - 1] == digits[place - 1 + length])
            --place;
        if (2 * place <= digits.size())
            return { place, length };
    }
    return { 0, 0 };
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Five numbers of four bytes each, high byte first; bytes past the input are nought.
    std::uint32_t numbers[5] = {};
    for (std::size_t i = 0; i < 20; ++i)
        numbers[i / 4] = numbers[i / 4] << 8 | (i < size ? data[i] : 0);
    // A divisor either side of the edge of the integer path, 2^24 / 10, or anywhere.
    const std::int64_t divisor = numbers[0] % 3 == 0 ? 1677721 - 2000 + numbers[1] % 4000
        : numbers[0] % 3 == 1                        ? 1 + numbers[1] % 4000
                                                     : 1 + numbers[1] % 2147483583;
    const auto dividend = std::int64_t(numbers[2] % (1u << 30));
    const auto limit = std::int64_t(1 + numbers[4] % 200000);

    Digits host;
    host.dividend = std::to_string(dividend);
    host.divisor = std::to_string(divisor);
    DivisionEngine engine(host, u",", limit, 1 + numbers[3] % 70000);
    engine.StartDivision();

    float partial = 0;
    const std::string stepped = steppedDigits(float(dividend), float(divisor), limit, partial);
    check(host.digits == stepped, "the engine writes the float steps' digits");
    check(stepped.empty() || engine.Dividend == partial, "the engine ends in the steps' state");

    const Period found = findPeriod(float(dividend), float(divisor), 100'000'000);
    const bool shownTwice = 2 * (found.preperiod + 2 * found.length) <= limit;
    if (found.kind != Period::Kind::BeyondLimit && shownTwice)
        check(period(stepped, limit) == std::pair(found.preperiod, found.length),
            "the period is the digits' own");
    return 0;
}
