#pragma once

#include <cmath>
#include <cstdint>

// One pass of the long division as the program makes it, on 32-bit floats. The division and the
// search for its period both take their steps from here, so the two cannot differ.
namespace DivisionSteps {

// The engine only keeps whole values whose magnitude is at most 10 x 2^31, so these integer steps
// are exact and cannot overflow.
inline std::int64_t wholeValue(float value)
{
    return static_cast<std::int64_t>(value);
}

inline float quotientFloor(float dividend, float divisor)
{
    return static_cast<float>(std::floor(double(dividend) / double(divisor)));
}

// While ten times any remainder fits a float's 24 bits, every value the steps keep is a whole
// number a float holds exactly: the steps are exact integer long division.
inline bool stepsAreExact(float divisor)
{
    return double(divisor) * 10.0 <= double(1 << 24);
}

inline bool dividesExactly(float dividend, float divisor)
{
    return wholeValue(dividend) % wholeValue(divisor) == 0;
}

// What the next digit divides: ten times the remainder, held in a float, so above 2^24 it is
// rounded and the digits part from those of the exact fraction.
inline float nextDividend(float dividend, float divisor)
{
    const auto remainder = static_cast<float>(wholeValue(dividend) % wholeValue(divisor));
    return static_cast<float>(double(remainder) * 10.0);
}

} // namespace DivisionSteps
