#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr std::u16string_view infinityText = u"∞";
constexpr std::u16string_view negativeInfinityText = u"-∞";

// Exponents are saturated while they are read, so a long run of exponent digits cannot overflow
// the counter. The limit lies beyond the length of any text, so that digits before or after the
// point can never bring a saturated exponent back into range.
constexpr long long exponentLimit = 1'000'000'000'000'000;

// Decimal exponents of the leading digit beyond which every value overflows or underflows even the
// widest type used here, whatever its digits.
constexpr long long overflowExponent = 310;
constexpr long long underflowExponent = -330;

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

long long appendExponentDigit(long long exponent, char16_t digit)
{
    return std::min(exponent * 10 + (digit - u'0'), exponentLimit);
}

// The pieces of a decimal number as they were read, turned into a binary value by std::from_chars.
struct Decimal
{
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    long long exponent = 0;

    bool hasDigits() const { return !integerDigits.empty() || !fractionDigits.empty(); }

    // The number is handed to std::from_chars as its significant digits with the exponent of the
    // first of them, which stays small for every value in range: long texts shift the exponent by
    // their length, and from_chars caps large exponents on its own.
    template<typename Float> Float toBinary() const
    {
        const std::string digits = integerDigits + fractionDigits;
        const auto first = digits.find_first_not_of('0');
        const Float zero = negative ? -Float(0) : Float(0);
        if (first == std::string::npos)
            return zero;
        const auto last = digits.find_last_not_of('0');
        const long long leadingExponent
            = static_cast<long long>(integerDigits.size() - 1 - first) + exponent;
        const Float infinity = std::numeric_limits<Float>::infinity();
        if (leadingExponent > overflowExponent)
            return negative ? -infinity : infinity;
        if (leadingExponent < underflowExponent)
            return zero;

        std::string ascii;
        ascii.reserve(last - first + 24);
        if (negative)
            ascii += '-';
        ascii += digits[first];
        if (last > first)
            ascii.append(".").append(digits, first + 1, last - first);
        ascii.append("e").append(std::to_string(leadingExponent));

        Float value {};
        const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
        if (error == std::errc::result_out_of_range)
            return leadingExponent > 0 ? (negative ? -infinity : infinity) : zero;
        return value;
    }
};

// Walks a text for the leading-number parse: blanks, tabs and line feeds are invisible to it.
class BlankSkippingCursor
{
public:
    explicit BlankSkippingCursor(std::u16string_view text)
        : m_text(text)
    {
        skipBlanks();
    }

    char16_t peek() const { return m_position < m_text.size() ? m_text[m_position] : u'\0'; }

    void advance()
    {
        ++m_position;
        skipBlanks();
    }

private:
    void skipBlanks()
    {
        while (m_position < m_text.size()
            && (m_text[m_position] == u' ' || m_text[m_position] == u'\t'
                || m_text[m_position] == u'\n'))
            ++m_position;
    }

    std::u16string_view m_text;
    std::size_t m_position = 0;
};

std::u16string format(
    double value, int significantDigits, int exponentFormFrom, std::u16string_view separator)
{
    if (std::isnan(value))
        return u"NaN";
    if (std::isinf(value))
        return std::u16string(value < 0 ? negativeInfinityText : infinityText);
    if (value == 0)
        return u"0";

    std::array<char, 64> buffer {};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
        std::chars_format::scientific, significantDigits - 1);
    const std::string_view scientific(buffer.data(), written.ptr);
    const auto e = scientific.find('e');

    const bool negative = scientific.front() == '-';
    std::string digits;
    for (char c : scientific.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    digits.erase(digits.find_last_not_of('0') + 1);

    int exponent = 0;
    const auto exponentText = scientific.substr(e + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+'),
        exponentText.data() + exponentText.size(), exponent);

    std::u16string text;
    if (negative)
        text += u'-';
    auto appendAscii = [&text](std::string_view ascii) { text.append(ascii.begin(), ascii.end()); };

    if (exponent >= exponentFormFrom || exponent < -4) {
        text += char16_t(digits.front());
        if (digits.size() > 1) {
            text += separator;
            appendAscii(std::string_view(digits).substr(1));
        }
        text += exponent < 0 ? u"E-" : u"E+";
        const auto magnitude = std::to_string(std::abs(exponent));
        if (magnitude.size() < 2)
            text += u'0';
        appendAscii(magnitude);
    } else if (exponent >= 0) {
        const auto integerLength = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() < integerLength)
            digits.append(integerLength - digits.size(), '0');
        appendAscii(std::string_view(digits).substr(0, integerLength));
        if (digits.size() > integerLength) {
            text += separator;
            appendAscii(std::string_view(digits).substr(integerLength));
        }
    } else {
        text += u'0';
        text += separator;
        text.append(static_cast<std::size_t>(-exponent - 1), u'0');
        appendAscii(digits);
    }
    return text;
}

// Reads the locale notation that format() writes; nothing when `text` is not such a number.
std::optional<Decimal> readLocaleNumber(std::u16string_view text, std::u16string_view separator)
{
    Decimal decimal;
    std::size_t i = 0;
    auto readDigits = [&](std::string &into) {
        const auto start = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            into += char(text[i]);
        return i > start;
    };

    if (i < text.size() && text[i] == u'-') {
        decimal.negative = true;
        ++i;
    }
    if (!readDigits(decimal.integerDigits))
        return std::nullopt;
    if (!separator.empty() && text.substr(i, separator.size()) == separator) {
        i += separator.size();
        if (!readDigits(decimal.fractionDigits))
            return std::nullopt;
    }
    if (i < text.size() && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        if (i == text.size() || !isDigit(text[i]))
            return std::nullopt;
        for (; i < text.size() && isDigit(text[i]); ++i)
            decimal.exponent = appendExponentDigit(decimal.exponent, text[i]);
        if (negativeExponent)
            decimal.exponent = -decimal.exponent;
    }
    if (i != text.size())
        return std::nullopt;
    return decimal;
}

template<typename Float>
Float readLocaleText(std::u16string_view text, std::u16string_view separator)
{
    if (text == infinityText)
        return std::numeric_limits<Float>::infinity();
    if (text == negativeInfinityText)
        return -std::numeric_limits<Float>::infinity();
    const auto decimal = readLocaleNumber(text, separator);
    return decimal ? decimal->template toBinary<Float>() : std::numeric_limits<Float>::quiet_NaN();
}

} // namespace

double NumberText::leadingNumber(std::u16string_view text)
{
    BlankSkippingCursor cursor(text);
    Decimal decimal;

    if (cursor.peek() == u'+' || cursor.peek() == u'-') {
        decimal.negative = cursor.peek() == u'-';
        cursor.advance();
    }
    for (; isDigit(cursor.peek()); cursor.advance())
        decimal.integerDigits += char(cursor.peek());
    if (cursor.peek() == u'.') {
        cursor.advance();
        for (; isDigit(cursor.peek()); cursor.advance())
            decimal.fractionDigits += char(cursor.peek());
    }
    if (!decimal.hasDigits())
        return 0;

    if (cursor.peek() == u'E' || cursor.peek() == u'e') {
        // The exponent belongs to the number only when a digit follows; otherwise the number ends
        // before the E, which changes nothing since the exponent is then still 0.
        cursor.advance();
        bool negativeExponent = false;
        if (cursor.peek() == u'+' || cursor.peek() == u'-') {
            negativeExponent = cursor.peek() == u'-';
            cursor.advance();
        }
        for (; isDigit(cursor.peek()); cursor.advance())
            decimal.exponent = appendExponentDigit(decimal.exponent, cursor.peek());
        if (negativeExponent)
            decimal.exponent = -decimal.exponent;
    }
    return decimal.toBinary<double>();
}

std::u16string NumberText::fromDouble(double value, std::u16string_view decimalSeparator)
{
    return format(value, 15, 15, decimalSeparator);
}

std::u16string NumberText::fromFloat(float value, std::u16string_view decimalSeparator)
{
    return format(value, 7, 7, decimalSeparator);
}

double NumberText::toDouble(std::u16string_view text, std::u16string_view decimalSeparator)
{
    return readLocaleText<double>(text, decimalSeparator);
}

float NumberText::toFloat(std::u16string_view text, std::u16string_view decimalSeparator)
{
    return readLocaleText<float>(text, decimalSeparator);
}

std::optional<std::int32_t> NumberText::toInt32(float value)
{
    double rounded = std::floor(double(value));
    const double fraction = double(value) - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0))
        rounded += 1;
    if (!(rounded >= std::numeric_limits<std::int32_t>::min()
            && rounded <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}
