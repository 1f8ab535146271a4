#include "NumberText.h"

#include "TestText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace NumberText;

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

struct ParseCase
{
    const char *name;
    std::u16string_view text;
    double value;
};

class LeadingNumber : public testing::TestWithParam<ParseCase>
{
};

TEST_P(LeadingNumber, ReadsTheNumberAtTheStart)
{
    EXPECT_EQ(leadingNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumber,
    testing::Values(ParseCase { "empty", u"", 0 }, ParseCase { "leading_blanks", u"   42", 42 },
        ParseCase { "blank_between_digits", u"4 2", 42 },
        ParseCase { "tabs_and_line_feeds", u"\t-\n3", -3 },
        ParseCase { "comma_ends_the_number", u"2,5", 2 },
        ParseCase { "point_is_the_decimal_point", u"2.5", 2.5 },
        ParseCase { "trailing_letters", u"-7x", -7 },
        ParseCase { "digits_then_text", u"12abc", 12 }, ParseCase { "exponent", u"1e3", 1000 },
        ParseCase { "capital_exponent", u"1E-2", 0.01 },
        ParseCase { "exponent_without_digits", u"1e", 1 },
        ParseCase { "exponent_sign_without_digits", u"1e+", 1 },
        ParseCase { "no_number", u"abc", 0 }, ParseCase { "only_a_sign", u"-", 0 },
        ParseCase { "two_signs", u"--5", 0 }, ParseCase { "plus_sign", u"+5", 5 },
        ParseCase { "point_first", u".5", 0.5 }, ParseCase { "point_last", u"5.", 5 },
        ParseCase { "carriage_return_is_not_a_blank", u"4\r2", 4 },
        ParseCase { "above_float_precision", u"16777217", 16777217 },
        ParseCase { "beyond_double_range", u"1e400", infinity },
        ParseCase { "beyond_double_range_negative", u"-1e400", -infinity },
        ParseCase { "huge_exponent", u"1e99999999999999999999", infinity },
        ParseCase { "below_double_range", u"1e-400", 0 },
        ParseCase { "long_zero_mantissa_huge_exponent", u"0.000e99999", 0 }),
    [](const auto &info) { return std::string(info.param.name); });

// Digits move the exponent by the length of the text, so a long text may hold a number in range
// with an exponent far out of it, or the other way round.
TEST(LeadingNumber, LongTextsKeepTheirMagnitude)
{
    const std::u16string zeros(200000, u'0');
    EXPECT_EQ(leadingNumber(u"0." + zeros + u"1e999999"), infinity);
    EXPECT_EQ(leadingNumber(u"1" + zeros + u"e-199990"), 1e10);
    EXPECT_EQ(leadingNumber(u"0." + zeros + u"25e200001"), 2.5);
    EXPECT_EQ(leadingNumber(u"-1" + zeros), -infinity);
    EXPECT_EQ(leadingNumber(u"1" + zeros + u"e-200000"), 1);
}

struct FormatCase
{
    const char *name;
    double value;
    std::u16string_view text; // "." stands for the locale's separator
};

class Separators : public testing::TestWithParam<std::u16string_view>
{
};

INSTANTIATE_TEST_SUITE_P(Locales, Separators, testing::Values(u",", u"."),
    [](const auto &info) { return info.param == u"," ? "czech" : "english"; });

TEST_P(Separators, DoubleToText)
{
    const FormatCase cases[] = {
        { "fraction", 0.625, u"0.625" },
        { "whole", 2, u"2" },
        { "negative", -2.5, u"-2.5" },
        { "negative zero", -0.0, u"0" },
        { "fifteen digits in full", 999999999999999, u"999999999999999" },
        { "exponent form from 1E+15", 1e15, u"1E+15" },
        { "exponent form with mantissa", 1.5e15, u"1.5E+15" },
        { "rounded to fifteen digits", 123456789012345678.0, u"1.23456789012346E+17" },
        { "rounding carries into the exponent", 999999999999999.9, u"1E+15" },
        { "binary noise is rounded away", 0.1 + 0.2, u"0.3" },
        { "recurring", 1.0 / 3, u"0.333333333333333" },
        { "small in full", 0.0001, u"0.0001" },
        { "smaller in exponent form", 0.00001, u"1E-05" },
        { "three digit exponent", 1e300, u"1E+300" },
        { "infinity", infinity, u"∞" },
        { "negative infinity", -infinity, u"-∞" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(fromDouble(c.value, GetParam()), localised(c.text, GetParam())) << c.name;
}

TEST_P(Separators, FloatToText)
{
    const FormatCase cases[] = {
        { "fraction", 0.625, u"0.625" },
        { "whole", 2, u"2" },
        { "seven digits in full", 9999999, u"9999999" },
        { "two to the 23 in full", 8388608, u"8388608" },
        { "exponent form from 1E+07", 1e7, u"1E+07" },
        { "two to the 24", 16777216, u"1.677722E+07" },
        { "large integer part", 33333332, u"3.333333E+07" },
        { "float noise is rounded away", 0.1F, u"0.1" },
        { "non-whole limit", 2.5, u"2.5" },
        { "largest float", std::numeric_limits<float>::max(), u"3.402823E+38" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(fromFloat(static_cast<float>(c.value), GetParam()), localised(c.text, GetParam()))
            << c.name;
}

TEST_P(Separators, LocaleTextToFloat)
{
    const auto sep = GetParam();
    EXPECT_EQ(toFloat(u"16777217", sep), 16777216.0F) << "nearest float";
    EXPECT_EQ(toFloat(localised(u"1.5E+15", sep), sep), 1.5e15F);
    EXPECT_EQ(toFloat(localised(u"-2.5", sep), sep), -2.5F);
    EXPECT_EQ(toFloat(u"1E+39", sep), std::numeric_limits<float>::infinity()) << "beyond float";
    EXPECT_EQ(toFloat(u"-∞", sep), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(toDouble(u"1E+39", sep), 1e39) << "within double";
    EXPECT_EQ(toDouble(u"1E-400", sep), 0.0);
}

TEST_P(Separators, LocaleTextRejectsOtherNotations)
{
    const auto sep = GetParam();
    const std::u16string_view other = sep == u"," ? u"1.5" : u"1,5";
    for (std::u16string_view text : { std::u16string_view(u""), std::u16string_view(u"abc"),
             std::u16string_view(u"1E"), std::u16string_view(u"1E+"), std::u16string_view(u" 1"),
             std::u16string_view(u"1 "), std::u16string_view(u"+1"), other })
        EXPECT_TRUE(std::isnan(toDouble(text, sep)));
}

TEST(ToInt32, RoundsTiesToEvenWithinRange)
{
    EXPECT_EQ(toInt32(2.5F), 2);
    EXPECT_EQ(toInt32(3.5F), 4);
    EXPECT_EQ(toInt32(-2.5F), -2);
    EXPECT_EQ(toInt32(2147483520.0F), 2147483520);
    EXPECT_EQ(toInt32(-2147483648.0F), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(toInt32(2147483648.0F), std::nullopt);
    EXPECT_EQ(toInt32(std::numeric_limits<float>::infinity()), std::nullopt);
    EXPECT_EQ(toInt32(std::numeric_limits<float>::quiet_NaN()), std::nullopt);
}

} // namespace
