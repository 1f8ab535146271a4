#include "PeriodFinder.h"

#include "DivisionSteps.h"

using namespace DivisionSteps;

namespace {

// Brent's cycle detection counts in steps; a digit of 10, which a rounded partial dividend can
// give, takes two characters.
std::int64_t characters(float from, float divisor, std::int64_t steps)
{
    std::int64_t count = 0;
    for (std::int64_t step = 0; step < steps; ++step, from = nextDividend(from, divisor))
        count += quotientFloor(from, divisor) >= 10 ? 2 : 1;
    return count;
}

} // namespace

Period findPeriod(float dividend, float divisor, std::int64_t digitLimit, std::stop_token stop)
{
    divisor = std::fabs(divisor);
    // The partial dividend of the first decimal digit.
    const float first = nextDividend(std::fabs(dividend), divisor);

    // Brent: the hare runs ahead of a tortoise that jumps to it at every power of two; they meet
    // once a power is at least the period and the tortoise is inside it, so by the power that
    // covers both the period and the digits before it.
    std::int64_t power = 1, length = 1;
    float tortoise = first, hare = nextDividend(first, divisor);
    while (tortoise != hare) {
        if (power == length) {
            if (power > digitLimit || stop.stop_requested())
                return { Period::Kind::BeyondLimit };
            tortoise = hare;
            power *= 2;
            length = 0;
        }
        hare = nextDividend(hare, divisor);
        ++length;
    }

    // Two runners `length` apart meet where the period starts.
    tortoise = hare = first;
    for (std::int64_t step = 0; step < length; ++step)
        hare = nextDividend(hare, divisor);
    std::int64_t preperiod = 0;
    for (; tortoise != hare; ++preperiod) {
        tortoise = nextDividend(tortoise, divisor);
        hare = nextDividend(hare, divisor);
    }
    const std::int64_t before = characters(first, divisor, preperiod);
    // The digits end where nought repeats for ever.
    if (tortoise == 0)
        return { Period::Kind::Ends, before };
    if (preperiod + length > digitLimit)
        return { Period::Kind::BeyondLimit };
    return { Period::Kind::Repeats, before, characters(tortoise, divisor, length) };
}
