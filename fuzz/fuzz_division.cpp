// Input: operands, a piece size and a limit, taken from the bytes. The engine's digits, written in
// pieces and copied once they repeat, are the division's float steps taken one at a time.
#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "DivisionSteps.h"
#include "FuzzCheck.h"

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

    std::string stepped;
    float partial = std::fabs(float(dividend));
    const float by = float(divisor);
    bool ended = DivisionSteps::dividesExactly(partial, by);
    while (!ended && std::int64_t(stepped.size()) < limit) {
        partial = DivisionSteps::nextDividend(partial, by);
        const float digit = DivisionSteps::quotientFloor(partial, by);
        stepped += digit < 10 ? std::string(1, char('0' + int(digit))) : std::to_string(int(digit));
        ended = DivisionSteps::dividesExactly(partial, by);
    }
    check(host.digits == stepped, "the engine writes the float steps' digits");
    check(stepped.empty() || engine.Dividend == partial, "the engine ends in the steps' state");
    return 0;
}
