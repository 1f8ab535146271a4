#include "DivisionEngine.h"

#include "CycleWatch.h"
#include "DivisionHost.h"
#include "DivisionSteps.h"
#include "ExactDigits.h"
#include "MessageCatalogue.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>

using namespace DivisionSteps;

DivisionEngine::DivisionEngine(DivisionHost &host, std::u16string decimalSeparator,
    std::int64_t digitLimit, std::int64_t digitsPerYield)
    : m_host(host)
    , m_decimalSeparator(std::move(decimalSeparator))
    , m_digitLimit(digitLimit)
    , m_digitsPerYield(std::max<std::int64_t>(digitsPerYield, 1))
{ }

void DivisionEngine::StartDivision()
{
    Stopped = false;
    m_host.setStartEnabled(false);

    m_host.setDividendText(normalisedOperand(m_host.dividendText()));
    m_host.setDivisorText(normalisedOperand(m_host.divisorText()));
    Dividend = NumberText::toFloat(m_host.dividendText(), m_decimalSeparator);
    Divisor = NumberText::toFloat(m_host.divisorText(), m_decimalSeparator);

    if (!NumberText::toInt32(Dividend) || !NumberText::toInt32(Divisor)) {
        endWithError(121, 122);
        return;
    }
    if (Divisor == 0) {
        endWithError(101, 102);
        return;
    }

    // The digits are found on the magnitudes; the sign goes in front once.
    const bool negative = Dividend != 0 && (Dividend < 0) != (Divisor < 0);
    Dividend = std::fabs(Dividend);
    Divisor = std::fabs(Divisor);

    m_host.divisionStarted(Dividend, Divisor);
    if (dividesExactly(Dividend, Divisor)) {
        const auto quotient = static_cast<float>(double(Dividend) / double(Divisor));
        m_host.setResultText(
            (negative ? u"-" : u"") + NumberText::fromFloat(quotient, m_decimalSeparator));
        Stopped = true;
        m_host.setStartEnabled(true);
        return;
    }

    Stopped = false;
    ComputeDigits(negative);
}

void DivisionEngine::ComputeDigits(bool negative)
{
    DigitCount = 0;
    m_host.setResultText((negative ? u"-" : u"")
        + NumberText::fromFloat(quotientFloor(Dividend, Divisor), m_decimalSeparator) + u',');

    // Exact steps are integer long division, which the integer path does twelve digits a division;
    // the choice holds for the run.
    Steps steps { stepsAreExact(Divisor), wholeValue(Divisor),
        wholeValue(Dividend) % wholeValue(Divisor) };
    const std::uint64_t run = ++m_runs;
    std::string piece;
    for (std::int64_t digits = 0;;) {
        // Stop, a reached limit and a zero remainder all take effect here, so a run ends at the
        // top of the pass after the one that asked for it. A Start in a yield has run to its end.
        if (Stopped) {
            if (run == m_runs && steps.copied > 0)
                settleCopiedState(steps);
            m_host.setStartEnabled(true);
            return;
        }
        piece.clear();
        const std::int64_t count = pieceLength(digits);
        bool finished = false;
        std::int64_t written = divide(steps, digits, count, piece, finished);
        m_host.appendToResultText(piece);
        // Once the digits repeat, the rest of the piece copies them.
        if (written < count && !finished) {
            m_host.repeatResultDigits(steps.cycle.characters(), count - written);
            steps.copied += count - written;
            written = count;
        }
        digits += written;
        // DigitCount, a float, holds the count exactly only up to 2^24, so the places are compared
        // with the exact count; a number of places that is not whole never equals it.
        DigitCount = float(digits);
        const bool placesReached = double(digits) == double(DecimalPlaces);
        if (placesReached || digits == m_digitLimit || finished)
            Stopped = true;
        // Decided before the yield, where a Stop and a new Start may replace this run's state.
        if (digits == m_digitLimit && !placesReached && !finished)
            m_host.showWarning(MessageCatalogue::text(124));
        m_host.yield();
    }
}

// Writes up to `count` digits of the division from its `digits`-th on, watching for a state seen
// before; returns how many it wrote, fewer once the digits are known to repeat or end.
std::int64_t DivisionEngine::divide(
    Steps &steps, std::int64_t digits, std::int64_t count, std::string &piece, bool &finished)
{
    std::int64_t written = 0;
    // The cycle is watched while each state writes one character, which a copy then keeps.
    const auto repeating = [&] {
        const int characters = steps.exact ? ExactDigits::blockDigits : 1;
        return steps.cycle.found() && steps.cycle.characters() == characters * steps.cycle.length();
    };
    while (written < count && !finished && !repeating()) {
        const std::int64_t at = digits + written;
        if (steps.exact) {
            // Blocks end on multiples of twelve digits, where the remainder is watched.
            const auto block = int(std::min<std::int64_t>(
                ExactDigits::blockDigits - at % ExactDigits::blockDigits, count - written));
            const std::size_t before = piece.size();
            finished = ExactDigits::append(steps.remainder, steps.divisor, block, piece);
            written += std::int64_t(piece.size() - before);
            Dividend = float((piece.back() - '0') * steps.divisor + steps.remainder);
            if ((digits + written) % ExactDigits::blockDigits == 0)
                steps.cycle.observe(steps.remainder, digits + written);
            continue;
        }
        Dividend = nextDividend(Dividend, Divisor);
        const float digit = quotientFloor(Dividend, Divisor);
        if (digit < 10) {
            piece += char('0' + int(digit));
        } else {
            const std::u16string text = NumberText::fromFloat(digit, m_decimalSeparator);
            piece.append(text.begin(), text.end());
        }
        ++written;
        finished = dividesExactly(Dividend, Divisor);
        steps.characters += std::int64_t(digit < 10 ? 1 : 2);
        steps.cycle.observe(wholeValue(Dividend), steps.characters);
    }
    if (repeating() && steps.copied == 0) {
        steps.stateAtCycle = steps.exact ? steps.remainder : wholeValue(Dividend);
    }
    return written;
}

// The state after the copied digits is the one as many digits past the cycle's start, modulo its
// length: the division's last partial dividend, as the steps themselves would have left it.
void DivisionEngine::settleCopiedState(const Steps &steps)
{
    const std::int64_t length = steps.cycle.characters();
    const std::int64_t past = steps.copied % length;
    if (steps.exact) {
        const std::int64_t beforeLast = ExactDigits::remainderAfter(
            steps.stateAtCycle, steps.divisor, (steps.copied - 1) % length);
        Dividend = float(10 * beforeLast);
        return;
    }
    Dividend = float(steps.stateAtCycle);
    for (std::int64_t step = 0; step < past; ++step)
        Dividend = nextDividend(Dividend, Divisor);
}

// The digits of the next pass: as many as the host takes between two yields, but none past the
// places asked for or the limit.
std::int64_t DivisionEngine::pieceLength(std::int64_t digits) const
{
    std::int64_t length = std::min(m_digitsPerYield, m_digitLimit - digits);
    const double places = DecimalPlaces;
    if (places > double(digits) && places < double(m_digitLimit) && places == std::floor(places))
        length = std::min(length, std::int64_t(places) - digits);
    return length;
}

// Parsed without the locale, written and read back with it, then floored: "2,9" becomes "2",
// "2.9" becomes "2" and "-2.5" becomes "-3".
std::u16string DivisionEngine::normalisedOperand(const std::u16string &text) const
{
    const double typed = NumberText::leadingNumber(text);
    const double roundTrip = NumberText::toDouble(
        NumberText::fromDouble(typed, m_decimalSeparator), m_decimalSeparator);
    return NumberText::fromDouble(std::floor(roundTrip), m_decimalSeparator);
}

void DivisionEngine::endWithError(int resultMessage, int warningMessage)
{
    m_host.setResultText(MessageCatalogue::text(resultMessage));
    m_host.showWarning(MessageCatalogue::text(warningMessage));
    Stopped = true;
    m_host.setStartEnabled(true);
}
