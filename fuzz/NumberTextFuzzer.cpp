// Input: the whole input is a text for the leading-number parse (see FuzzInput::text). Its first
// 8 bytes, and its first 4, are also the bit pattern of a double and of a float in the machine's
// byte order (missing bytes are zero), so infinities, NaN and subnormals reach the conversions too.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "NumberText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr std::u16string_view separators[] = { u",", u"." };

template<typename Float> Float fromBits(std::string_view bytes)
{
    std::array<char, sizeof(Float)> raw {};
    std::copy_n(bytes.begin(), std::min(bytes.size(), raw.size()), raw.begin());
    return std::bit_cast<Float>(raw);
}

std::u16string widened(std::string_view ascii)
{
    return { ascii.begin(), ascii.end() };
}

// What each width keeps: significant digits, the magnitude from which the text takes exponent
// form, and the largest magnitude whose rounded text still lies within the type's range.
template<typename Float> struct Width;

template<> struct Width<double>
{
    static constexpr int digits = 15;
    static constexpr double exponentFormFrom = 1e15;
    static constexpr double finiteUpTo = 1.79769313486231e308;
    static constexpr double ulp = 0x1p-52;
    static std::u16string write(double value, std::u16string_view separator)
    {
        return NumberText::fromDouble(value, separator);
    }
    static double read(std::u16string_view text, std::u16string_view separator)
    {
        return NumberText::toDouble(text, separator);
    }
};

template<> struct Width<float>
{
    static constexpr int digits = 7;
    static constexpr double exponentFormFrom = 1e7;
    static constexpr double finiteUpTo = std::numeric_limits<float>::max();
    static constexpr double ulp = 0x1p-23;
    static std::u16string write(float value, std::u16string_view separator)
    {
        return NumberText::fromFloat(value, separator);
    }
    static float read(std::u16string_view text, std::u16string_view separator)
    {
        return NumberText::toFloat(text, separator);
    }
};

// The significant digits of a written number and the decimal exponent of the first of them,
// counted here without the conversions under test.
struct SignificantDigits
{
    int count = 0;
    int exponent = 0;
    char16_t leading = u'0';
};

SignificantDigits significantDigits(std::u16string_view text, std::u16string_view separator)
{
    if (text.starts_with(u'-'))
        text.remove_prefix(1);
    int exponent = 0;
    if (const auto e = text.find(u'E'); e != std::u16string_view::npos) {
        const auto sign = text[e + 1];
        for (char16_t c : text.substr(e + 2))
            exponent = exponent * 10 + (c - u'0');
        exponent = sign == u'-' ? -exponent : exponent;
        text = text.substr(0, e);
    }
    const auto point = text.find(separator);
    const auto integer = text.substr(0, point);
    std::u16string digits(integer);
    if (point != std::u16string_view::npos)
        digits += text.substr(point + separator.size());
    const auto first = digits.find_first_not_of(u'0');
    if (first == std::u16string::npos)
        return {};
    const auto last = digits.find_last_not_of(u'0');
    return { int(last - first + 1), exponent + int(integer.size()) - 1 - int(first),
        digits[first] };
}

template<typename Float> void checkWritten(Float value, std::u16string_view separator)
{
    using W = Width<Float>;
    const std::u16string text = W::write(value, separator);
    const Float back = W::read(text, separator);
    check(!std::isnan(back), "a written number reads back");
    if (std::isinf(back) && !std::isinf(value)) {
        check(std::fabs(double(value)) > W::finiteUpTo,
            "only a value rounded beyond the range reads back as an infinity");
        return;
    }
    const auto digits = significantDigits(text, separator);
    if (const auto again = W::write(back, separator); again != text) {
        // Seven digits do not tell every float apart. The float nearest to a power of ten can lie
        // below it by more than half a unit of the seventh digit there (1E+28 reads as
        // 9.999999442E+27), so its text moves once, to the digits just below, and stays.
        const bool powerOfTen = digits.count == 1 && digits.leading == u'1';
        check(W::digits == 7 && powerOfTen, "writing the number read back gives the same text");
        check(W::read(again, separator) == back,
            "a float text moved by the round trip reads back to the same float");
    }
    if (std::isinf(value))
        return;

    check(digits.count <= W::digits, "no more significant digits than the width keeps");
    if (value == std::floor(value) && std::fabs(value) < W::exponentFormFrom)
        check(text == widened(std::to_string(static_cast<long long>(value))),
            "a whole value below the exponent form is written in full");
    // Rounding to the digits kept, then reading the text back to the nearest value of the width.
    const double tolerance = 0.5 * std::pow(10.0, digits.exponent - (W::digits - 1)) * (1 + 1e-9)
        + std::fabs(double(back)) * W::ulp + std::numeric_limits<Float>::denorm_min();
    check(std::fabs(double(back) - double(value)) <= tolerance,
        "a written number reads back within the rounding of its digits");
}

void checkToInt32(float value)
{
    const auto converted = NumberText::toInt32(value);
    // nearbyint rounds ties to even in the default rounding mode.
    const double nearest = std::nearbyint(double(value));
    const bool inRange
        = std::isfinite(value) && nearest >= -2147483648.0 && nearest <= 2147483647.0;
    check(converted.has_value() == inRange, "toInt32 converts exactly the values in 32-bit range");
    if (converted)
        check(*converted == nearest, "toInt32 rounds to the nearest integer, ties to even");
}

// The locale notation read as a whole text is the leading-number parse's grammar with the locale's
// separator for the point, so the two parses must agree on every text the first accepts.
void checkLocaleRead(const std::u16string &text, std::u16string_view separator)
{
    const double asDouble = NumberText::toDouble(text, separator);
    const float asFloat = NumberText::toFloat(text, separator);
    check(std::isnan(asDouble) == std::isnan(asFloat), "both widths accept the same texts");
    if (std::isnan(asDouble) || text == u"∞" || text == u"-∞")
        return;
    const auto at = text.find(separator);
    const std::u16string pointed = at == std::u16string::npos
        ? text
        : text.substr(0, at) + u'.' + text.substr(at + separator.size());
    check(NumberText::leadingNumber(pointed) == asDouble,
        "the locale parse agrees with the leading-number parse");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto bytes = FuzzInput::bytes(data, size);
    const std::u16string text = FuzzInput::text(bytes);

    const double parsed = NumberText::leadingNumber(text);
    check(!std::isnan(parsed), "the leading-number parse never gives NaN");
    std::u16string withoutBlanks = text;
    std::erase_if(withoutBlanks, [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; });
    check(NumberText::leadingNumber(withoutBlanks) == parsed,
        "blanks, tabs and line feeds anywhere do not change the number");

    const double doubles[] = { parsed, std::floor(parsed), fromBits<double>(bytes) };
    const float floats[] = { static_cast<float>(parsed), static_cast<float>(std::floor(parsed)),
        fromBits<float>(bytes) };
    for (const auto separator : separators) {
        checkLocaleRead(text, separator);
        // Neither conversion to text is defined for NaN; no parse produces one.
        for (const double value : doubles)
            if (!std::isnan(value))
                checkWritten(value, separator);
        for (const float value : floats)
            if (!std::isnan(value))
                checkWritten(value, separator);
    }
    for (const float value : floats)
        checkToInt32(value);
    return 0;
}
