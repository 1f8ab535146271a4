#include "DivisionEngine.h"

#include "MessageCatalogue.h"
#include "RecordingHost.h"
#include "TestText.h"

#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace {

struct RunCase
{
    const char *name;
    std::u16string_view dividend;
    std::u16string_view divisor;
    float decimalPlaces;
    // Expected texts: "." stands for the locale's decimal separator, "," is a literal comma.
    std::u16string_view result;
    std::u16string_view dividendAfter;
    std::u16string_view divisorAfter;
    int resultMessage = 0; // the result text is this message instead
    int warning = 0;
};

std::u16string message(int number)
{
    return std::u16string(MessageCatalogue::text(number));
}

const RunCase runCases[] = {
    { "terminating", u"5", u"8", 0, u"0,625", u"5", u"8" },
    { "limit_reached_truncates", u"22", u"7", 3, u"3,142", u"22", u"7" },
    { "limit_before_zero_remainder", u"1", u"4", 1, u"0,2", u"1", u"4" },
    { "zero_remainder_before_limit", u"1", u"4", 3, u"0,25", u"1", u"4" },
    { "whole_quotient", u"10", u"5", 4, u"2", u"10", u"5" },
    { "zero_dividend", u"0", u"3", 0, u"0", u"0", u"3" },
    { "empty_dividend", u"", u"8", 0, u"0", u"0", u"8" },
    { "zero_divisor", u"7", u"0", 0, u"", u"7", u"0", 101, 102 },
    { "empty_divisor", u"7", u"", 0, u"", u"7", u"0", 101, 102 },
    { "comma_ends_operand", u"2,9", u"1", 0, u"2", u"2", u"1" },
    { "point_operand_floored", u"2.9", u"1", 0, u"2", u"2", u"1" },
    { "negative_operand_floored", u"-2.5", u"2", 0, u"-1,5", u"-3", u"2" },
    { "negative_dividend", u"-7", u"2", 0, u"-3,5", u"-7", u"2" },
    { "negative_divisor", u"7", u"-2", 0, u"-3,5", u"7", u"-2" },
    { "both_negative", u"-7", u"-2", 0, u"3,5", u"-7", u"-2" },
    { "negative_below_one", u"-1", u"4", 0, u"-0,25", u"-1", u"4" },
    { "negative_whole", u"-10", u"5", 0, u"-2", u"-10", u"5" },
    { "zero_over_negative", u"0", u"-3", 0, u"0", u"0", u"-3" },
    { "dividend_rounded_to_float", u"16777217", u"2", 0, u"8388608", u"16777217", u"2" },
    { "whole_quotient_in_exponent_form", u"2147483520", u"1", 0, u"2.147484E+09", u"2147483520",
        u"1" },
    { "smallest_operand", u"-2147483648", u"1", 0, u"-2.147484E+09", u"-2147483648", u"1" },
    { "partial_dividend_beyond_32_bits", u"1", u"2000000000", 0, u"0,0000000005", u"1",
        u"2000000000" },
    { "exponent_form_operand_out_of_range", u"1500000000000000", u"4", 0, u"", u"1.5E+15", u"4",
        121, 122 },
    { "dividend_out_of_range", u"2147483584", u"1", 0, u"", u"2147483584", u"1", 121, 122 },
    { "divisor_out_of_range", u"5", u"3000000000", 0, u"", u"5", u"3000000000", 121, 122 },
    { "infinite_operand", u"1e400", u"3", 0, u"", u"∞", u"3", 121, 122 },
    { "out_of_range_wins_over_zero_divisor", u"1e20", u"0", 0, u"", u"1E+20", u"0", 121, 122 },
};

class Run : public testing::TestWithParam<std::tuple<RunCase, std::u16string_view>>
{
};

TEST_P(Run, ProducesTheResultText)
{
    const auto &[c, separator] = GetParam();
    RecordingHost host;
    host.dividend = c.dividend;
    host.divisor = c.divisor;
    DivisionEngine engine(host, std::u16string(separator));
    engine.DecimalPlaces = c.decimalPlaces;

    engine.StartDivision();

    EXPECT_EQ(
        host.result, c.resultMessage ? message(c.resultMessage) : localised(c.result, separator));
    EXPECT_EQ(host.dividend, localised(c.dividendAfter, separator));
    EXPECT_EQ(host.divisor, localised(c.divisorAfter, separator));
    if (c.warning)
        EXPECT_EQ(host.warnings, std::vector { message(c.warning) });
    else
        EXPECT_TRUE(host.warnings.empty());
    EXPECT_TRUE(engine.Stopped);
    EXPECT_TRUE(host.startEnabled);
    for (bool enabledDuringRun : host.startEnabledAtYield)
        EXPECT_FALSE(enabledDuringRun);
}

INSTANTIATE_TEST_SUITE_P(Operands, Run,
    testing::Combine(testing::ValuesIn(runCases), testing::Values(u",", u".")),
    [](const auto &info) {
        return std::string(std::get<0>(info.param).name)
            + (std::get<1>(info.param) == u"," ? "_czech" : "_english");
    });

class Engine : public testing::Test
{
protected:
    RecordingHost host;
    DivisionEngine engine { host, u"," };

    void start(std::u16string_view dividend, std::u16string_view divisor)
    {
        host.dividend = dividend;
        host.divisor = divisor;
        engine.StartDivision();
    }
};

TEST_F(Engine, YieldsOnceAfterEveryDigit)
{
    start(u"5", u"8");
    EXPECT_EQ(host.yields, 3);
}

TEST_F(Engine, StopFinishesTheDigitInProgress)
{
    host.onYield = [&](int n) {
        if (n == 5)
            engine.Stopped = true;
    };
    start(u"1", u"3");
    EXPECT_EQ(host.result, u"0,33333");
    EXPECT_TRUE(host.startEnabled);
}

TEST_F(Engine, NonWholeLimitNeverMatches)
{
    engine.DecimalPlaces = 2.5F;
    host.onYield = [&](int n) {
        if (n == 40)
            engine.Stopped = true;
    };
    start(u"1", u"3");
    EXPECT_EQ(host.result.size(), 2 + 40u);
}

TEST_F(Engine, LimitRaisedDuringRunTakesEffectFromNextPass)
{
    host.onYield = [&](int n) {
        if (n == 2)
            engine.DecimalPlaces = 5;
        if (n == 50)
            engine.Stopped = true;
    };
    start(u"1", u"3");
    EXPECT_EQ(host.result, u"0,33333");
}

TEST_F(Engine, LimitAlreadyPassedLeavesRunUnlimited)
{
    host.onYield = [&](int n) {
        if (n == 6)
            engine.DecimalPlaces = 5;
        if (n == 30)
            engine.Stopped = true;
    };
    start(u"1", u"3");
    EXPECT_EQ(host.result.size(), 2 + 30u);
}

TEST_F(Engine, StartInsideAYieldEndsTheOuterRun)
{
    host.onYield = [&](int n) {
        if (n == 3) {
            engine.Stopped = true;
            start(u"5", u"8");
        }
    };
    start(u"1", u"3");
    EXPECT_EQ(host.result, u"0,625");
    EXPECT_EQ(host.yields, 3 + 3);
    EXPECT_TRUE(host.startEnabled);
}

} // namespace
