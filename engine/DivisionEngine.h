#pragma once

#include "CycleWatch.h"

#include <cstdint>
#include <string>

class DivisionHost;

// School long division of two whole numbers, a piece of decimal digits per pass, yielding to the
// host's event loop after every piece. Once a state of the division comes again, the digits repeat:
// from there on the host copies them from the text it holds instead of the engine dividing. The
// state is public because the window's commands act on it between two pieces: Stop sets Stopped,
// the decimal-places prompt sets DecimalPlaces.
class DivisionEngine
{
public:
    // A run stops by itself after `digitLimit` decimal digits, before it exhausts the memory.
    static constexpr std::int64_t maximumDigits = 100'000'000;

    // A piece is at most `digitsPerYield` digits long.
    DivisionEngine(DivisionHost &host, std::u16string decimalSeparator,
        std::int64_t digitLimit = maximumDigits, std::int64_t digitsPerYield = 1);

    // Performs a whole run before it returns; other commands run inside its yields.
    void StartDivision();

    std::int64_t digitLimit() const { return m_digitLimit; }

    float Dividend = 0;
    float Divisor = 0;
    bool Stopped = false;
    float DecimalPlaces = 0;
    float DigitCount = 0;

private:
    // A run's steps: on the integer path its remainder, and the watch for a state seen before.
    struct Steps
    {
        bool exact;
        std::int64_t divisor;
        std::int64_t remainder;
        CycleWatch cycle {};
        std::int64_t characters = 0;
        std::int64_t copied = 0;
        std::int64_t stateAtCycle = 0;
    };

    void ComputeDigits(bool negative);
    std::int64_t divide(
        Steps &steps, std::int64_t digits, std::int64_t count, std::string &piece, bool &finished);
    void settleCopiedState(const Steps &steps);
    std::int64_t pieceLength(std::int64_t digits) const;
    std::u16string normalisedOperand(const std::u16string &text) const;
    void endWithError(int resultMessage, int warningMessage);

    DivisionHost &m_host;
    const std::u16string m_decimalSeparator;
    const std::int64_t m_digitLimit;
    const std::int64_t m_digitsPerYield;
    std::uint64_t m_runs = 0;
};
