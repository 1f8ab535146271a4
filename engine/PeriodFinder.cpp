#include "PeriodFinder.h"

#include "DivisionSteps.h"

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

    // Brent's search counts steps; a digit of 10, which a rounded partial dividend can give, takes
    // two characters.
    std::int64_t characters(float from, std::int64_t steps)
    {
        std::int64_t count = 0;
        for (std::int64_t step = 0; step < steps && !stopped(); ++step, from = next(from))
            count += quotientFloor(from, m_divisor) >= 10 ? 2 : 1;
        return count;
    }

private:
    const float m_divisor;
    const std::stop_token m_stop;
    std::int64_t m_taken = 0;
    std::int64_t m_nextLook = 0;
};

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
    const std::int64_t before = steps.characters(first, preperiod);
    // The digits end where nought repeats for ever; past the limit, the run never sees it.
    if (tortoise == 0)
        return before > digitLimit ? Period { Period::Kind::BeyondLimit }
                                   : Period { Period::Kind::Ends, before };
    if (preperiod + length > digitLimit)
        return { Period::Kind::BeyondLimit };
    return { Period::Kind::Repeats, before, steps.characters(tortoise, length) };
}
