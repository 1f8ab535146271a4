// Input: four fields separated by "|": the dividend text, the divisor text (both as
// FuzzInput::text), the decimal places and the locale. The decimal places are "x" followed by up to
// eight hex digits for the bit pattern of the float, or else a text that the leading-number parse
// reads, as the decimal-places prompt does. The locale's separator is "." when the last field
// begins with ".", and "," otherwise. Example: "22|7|3" divides 22 by 7 to three places.

#include "DivisionEngine.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "MessageCatalogue.h"
#include "NumberText.h"
#include "RecordingHost.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// A recurring quotient without a limit never ends by itself; this many digits lies far beyond
// the limits in the seeds and still keeps an execution within milliseconds.
constexpr int yieldLimit = 2000;

std::u16string message(int number)
{
    return std::u16string(MessageCatalogue::text(number));
}

float decimalPlaces(std::string_view field)
{
    if (field.starts_with('x')) {
        std::uint32_t bits = 0;
        const auto digits = field.substr(1, 8);
        std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        return std::bit_cast<float>(bits);
    }
    return static_cast<float>(NumberText::leadingNumber(FuzzInput::text(field)));
}

struct Run
{
    std::u16string dividend;
    std::u16string divisor;
    std::u16string result;
    std::vector<std::u16string> warnings;
    int yields = 0;
};

Run run(const std::u16string &dividend, const std::u16string &divisor, float places,
    std::u16string_view separator)
{
    RecordingHost host;
    host.dividend = dividend;
    host.divisor = divisor;
    DivisionEngine engine(host, std::u16string(separator));
    // Only Stopped is set, unlike the Stop button, so that Start enabled at the end is the
    // engine's own doing.
    host.onYield = [&engine](int yield) {
        if (yield == yieldLimit)
            engine.Stopped = true;
    };
    engine.DecimalPlaces = places;

    engine.StartDivision();

    check(engine.Stopped, "a run ends with Stopped set");
    check(host.startEnabled, "a run ends with Start enabled");
    check(std::none_of(host.startEnabledAtYield.begin(), host.startEnabledAtYield.end(),
              [](bool enabled) { return enabled; }),
        "Start stays disabled while digits are produced");
    return { host.dividend, host.divisor, host.result, host.warnings, host.yields };
}

bool isInfinityText(std::u16string_view text)
{
    return text == u"∞" || text == u"-∞";
}

// A normalised operand is an infinity or a whole number in the locale notation that reads back to
// itself.
bool isNormalised(std::u16string_view text, std::u16string_view separator)
{
    if (isInfinityText(text))
        return true;
    const double value = NumberText::toDouble(text, separator);
    return std::isfinite(value) && value == std::floor(value)
        && NumberText::fromDouble(value, separator) == text;
}

bool isWholeFloatText(std::u16string_view text, std::u16string_view separator)
{
    const float value = NumberText::toFloat(text, separator);
    return std::isfinite(value) && value >= 0 && value == std::floor(value)
        && NumberText::fromFloat(value, separator) == text;
}

// The number of digits after the comma of a quotient text: an optional "-", the integer part as
// fromFloat writes a whole value, then optionally "," and at least one digit. Nothing when `text`
// is not a quotient text. The integer part may hold the separator itself (3,333333E+07), so every
// comma is tried as the one that ends it.
std::optional<std::size_t> decimalsOf(std::u16string_view text, std::u16string_view separator)
{
    if (text.starts_with(u'-'))
        text.remove_prefix(1);
    for (std::size_t end = 0; end <= text.size(); ++end) {
        if (end < text.size() && text[end] != u',')
            continue;
        const auto digits = end < text.size() ? text.substr(end + 1) : std::u16string_view();
        const bool allDigits
            = std::ranges::all_of(digits, [](char16_t c) { return c >= u'0' && c <= u'9'; });
        if ((end < text.size() && (digits.empty() || !allDigits))
            || !isWholeFloatText(text.substr(0, end), separator))
            continue;
        return digits.size();
    }
    return std::nullopt;
}

// Up to 2^24 every whole number is a float, and with a divisor up to a tenth of that so is every
// partial dividend: then the digits must be those of the true quotient, truncated.
constexpr double exactDividendLimit = 1 << 24;
constexpr double exactDivisorLimit = exactDividendLimit / 10;

std::u16string trueQuotient(
    std::int64_t dividend, std::int64_t divisor, float places, std::u16string_view separator)
{
    if (divisor == 0)
        return message(101);
    std::u16string text = dividend != 0 && (dividend < 0) != (divisor < 0) ? u"-" : u"";
    dividend = std::abs(dividend);
    divisor = std::abs(divisor);
    text += NumberText::fromFloat(static_cast<float>(dividend / divisor), separator);
    auto remainder = dividend % divisor;
    if (remainder == 0)
        return text;
    text += u',';
    for (int count = 1;; ++count) {
        remainder *= 10;
        text += char16_t(u'0' + remainder / divisor);
        remainder %= divisor;
        if (remainder == 0 || float(count) == places || count == yieldLimit)
            return text;
    }
}

void checkResult(const Run &r, float places, std::u16string_view separator)
{
    check(isNormalised(r.dividend, separator) && isNormalised(r.divisor, separator),
        "the operand texts are normalised to whole numbers");

    if (r.result == message(101) || r.result == message(121)) {
        const int warning = r.result == message(101) ? 102 : 122;
        check(r.warnings == std::vector { message(warning) },
            "a refused division shows its warning exactly once");
        check(r.yields == 0, "a refused division produces no digits");
    } else {
        check(r.warnings.empty(), "a quotient comes without a warning");
        const auto decimals = decimalsOf(r.result, separator);
        check(decimals.has_value(), "the result is a quotient text or a catalogue message");
        check(*decimals == std::size_t(r.yields), "the run yields once after every digit");
        if (places >= 1 && places == std::floor(places))
            check(float(*decimals) <= places,
                "a run produces no more digits than the decimal places");
    }

    const double dividend = NumberText::toDouble(r.dividend, separator);
    const double divisor = NumberText::toDouble(r.divisor, separator);
    if (std::fabs(dividend) <= exactDividendLimit && std::fabs(divisor) <= exactDivisorLimit)
        check(r.result
                == trueQuotient(std::int64_t(dividend), std::int64_t(divisor), places, separator),
            "operands a float holds exactly give the digits of the true quotient");
}

// The leading-number parse reads only "." as the decimal point, so in the comma locale a normalised
// text in exponent form (1,5E+15) reads as its first digit, and ∞ reads as 0. Every other
// normalised text is what a second Start finds and keeps.
bool rereadsAsItself(std::u16string_view text)
{
    return text.find(u',') == std::u16string_view::npos && !isInfinityText(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto field = FuzzInput::fields(FuzzInput::bytes(data, size), '|', 4);
    const float places = decimalPlaces(field[2]);
    const std::u16string_view separator = field[3].starts_with('.') ? u"." : u",";

    const Run first = run(FuzzInput::text(field[0]), FuzzInput::text(field[1]), places, separator);
    checkResult(first, places, separator);

    if (rereadsAsItself(first.dividend) && rereadsAsItself(first.divisor)) {
        const Run second = run(first.dividend, first.divisor, places, separator);
        check(second.dividend == first.dividend && second.divisor == first.divisor,
            "normalised operand texts are fixed points of the normalisation");
        check(second.result == first.result, "Start again on the same texts gives the same result");
    }
    return 0;
}
