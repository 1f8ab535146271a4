#pragma once

#include <cstdint>
#include <stop_token>

// Where the decimal digits of a division repeat, counted in characters of the result after its
// decimal comma.
struct Period
{
    enum class Kind { Ends, Repeats, BeyondLimit };

    Kind kind = Kind::Ends;
    // The digits before the period (the předperioda), and the period itself; when the result
    // ends, all its decimal digits and no period.
    std::int64_t preperiod = 0;
    std::int64_t length = 0;
};

// The period of the digits that the division writes for `dividend` / `divisor` (whole, within the
// division's range, the divisor not nought), found from the division's own steps: the partial
// dividend after a digit decides all digits that follow, so one seen before means the digits
// repeat from there. BeyondLimit: the first period, or the digits of a result that ends, do not end
// within `digitLimit` digits. Needs
// no memory and at most about four steps per digit of that limit; a stop request ends it early,
// with a result to be ignored.
Period findPeriod(
    float dividend, float divisor, std::int64_t digitLimit, std::stop_token stop = {});
