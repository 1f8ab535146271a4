#include "PeriodFinder.h"

#include "DivisionSteps.h"

#include <vector>

using namespace DivisionSteps;

namespace {

// The division's steps for one divisor, counted, so that a long search looks at a request to stop
// every million steps or so and a new run need not wait for the old search.
class Steps
{
public:
    Steps(float divisor, std::stop_token stop)
        : m_divisor(divisor)
        , m_stop(std::move(stop))
    { }

    float next(float from)
    {
        ++m_taken;
        return nextDividend(from, m_divisor);
    }

    bool stopped()
    {
        if (m_taken < m_nextLook)
            return false;
        m_nextLook = m_taken + (1 << 20);
        return m_stop.stop_requested();
    }

    float digit(float state) const { return quotientFloor(state, m_divisor); }

    float advance(float from, std::int64_t steps)
    {
        for (std::int64_t step = 0; step < steps && !stopped(); ++step)
            from = next(from);
        return from;
    }

    // Brent's search counts steps; a digit of 10, which a rounded partial dividend can give, takes
    // two characters.
    std::int64_t characters(float from, std::int64_t steps)
    {
        std::int64_t count = 0;
        for (std::int64_t step = 0; step < steps && !stopped(); ++step, from = next(from))
            count += digit(from) >= 10 ? 2 : 1;
        return count;
    }

private:
    const float m_divisor;
    const std::stop_token m_stop;
    std::int64_t m_taken = 0;
    std::int64_t m_nextLook = 0;
};

// The least divisor of the states' cycle `length` that the digits from `start`, in the cycle,
// repeat with. It divides the cycle by each prime power that leaves a period, which one walk over
// the cycle finds, with a runner ahead by the cycle over each prime power that divides it.
std::int64_t shortestDigitPeriod(Steps &steps, float start, std::int64_t length)
{
    struct Runner
    {
        std::int64_t prime;
        float state;
        bool repeats;
    };
    std::vector<Runner> runners;
    for (std::int64_t prime = 2, rest = length; rest > 1; ++prime) {
        if (prime * prime > rest)
            prime = rest;
        for (std::int64_t shift = length; rest % prime == 0; rest /= prime) {
            shift /= prime;
            runners.push_back({ prime, steps.advance(start, shift), true });
        }
    }
    for (std::int64_t step = 0; step < length && !steps.stopped(); ++step) {
        for (Runner &runner : runners) {
            runner.repeats = runner.repeats && steps.digit(runner.state) == steps.digit(start);
            runner.state = steps.next(runner.state);
        }
        start = steps.next(start);
    }
    std::int64_t period = length;
    for (const Runner &runner : runners)
        period /= runner.repeats ? runner.prime : 1;
    return period;
}

// The first place from which the digits repeat with `period`: the one after the last place before
// the states' cycle whose digit the digit a period on differs from.
std::int64_t firstRepeatingPlace(
    Steps &steps, float first, std::int64_t statesBefore, std::int64_t period)
{
    std::int64_t place = 0;
    float at = first, ahead = steps.advance(first, period);
    for (std::int64_t step = 0; step < statesBefore && !steps.stopped(); ++step) {
        if (steps.digit(at) != steps.digit(ahead))
            place = step + 1;
        at = steps.next(at);
        ahead = steps.next(ahead);
    }
    return place;
}

} // namespace

Period findPeriod(float dividend, float divisor, std::int64_t digitLimit, std::stop_token stop)
{
    Steps steps(std::fabs(divisor), std::move(stop));
    // The partial dividend of the first decimal digit.
    const float first = steps.next(std::fabs(dividend));

    // Brent: the hare runs ahead of a tortoise that jumps to it at every power of two; they meet
    // once a power is at least the period and the tortoise is inside it, so by the power that
    // covers both the period and the digits before it.
    std::int64_t power = 1, length = 1;
    float tortoise = first, hare = steps.next(first);
    while (tortoise != hare) {
        if (steps.stopped())
            return { Period::Kind::BeyondLimit };
        if (power == length) {
            if (power > digitLimit)
                return { Period::Kind::BeyondLimit };
            tortoise = hare;
            power *= 2;
            length = 0;
        }
        hare = steps.next(hare);
        ++length;
    }

    // Two runners `length` apart meet where the period starts.
    tortoise = hare = first;
    for (std::int64_t step = 0; step < length && !steps.stopped(); ++step)
        hare = steps.next(hare);
    std::int64_t preperiod = 0;
    for (; tortoise != hare && !steps.stopped(); ++preperiod) {
        tortoise = steps.next(tortoise);
        hare = steps.next(hare);
    }
    // The digits end where nought repeats for ever; past the limit, the run never sees it.
    if (tortoise == 0) {
        const std::int64_t before = steps.characters(first, preperiod);
        return before > digitLimit ? Period { Period::Kind::BeyondLimit }
                                   : Period { Period::Kind::Ends, before };
    }
    // On the integer path a remainder decides the digits and they decide it, so digits and states
    // repeat alike. Above it, two states can write the same digits.
    if (!stepsAreExact(std::fabs(divisor))) {
        length = shortestDigitPeriod(steps, tortoise, length);
        preperiod = firstRepeatingPlace(steps, first, preperiod, length);
        tortoise = steps.advance(first, preperiod);
    }
    if (preperiod + length > digitLimit)
        return { Period::Kind::BeyondLimit };
    return { Period::Kind::Repeats, steps.characters(first, preperiod),
        steps.characters(tortoise, length) };
}
