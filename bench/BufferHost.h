#pragma once

#include "NullHost.h"

#include <algorithm>

// Keeps the digits as the window does, one byte each, copying those that repeat whole periods at a
// time.
class BufferHost : public NullHost
{
public:
    std::string digits;

    void appendToResultText(std::string_view piece) override { digits.append(piece); }
    void repeatResultDigits(std::int64_t period, std::int64_t count) override
    {
        const auto length = std::size_t(period);
        const std::size_t repeatsFrom = digits.size() - length;
        for (auto left = std::size_t(count); left > 0;) {
            const std::size_t periods = (digits.size() - repeatsFrom) / length;
            const std::size_t span = std::min(periods * length, left);
            digits.append(digits, digits.size() - periods * length, span);
            left -= span;
        }
    }
};
