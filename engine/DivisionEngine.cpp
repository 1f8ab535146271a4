#include "DivisionEngine.h"

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

    // While ten times any remainder fits a float's 24 bits the float steps are exact integer long
    // division, which the integer path does twelve digits a division; the choice holds for the run.
    const bool exactSteps = double(Divisor) * 10.0 <= double(1 << 24);
    std::int64_t remainder = wholeValue(Dividend) % wholeValue(Divisor);
    std::u16string piece;
    for (std::int64_t digits = 0;;) {
        // Stop, a reached limit and a zero remainder all take effect here, so a run ends at the
        // top of the pass after the one that asked for it.
        if (Stopped) {
            m_host.setStartEnabled(true);
            return;
        }
        piece.clear();
        const std::int64_t count = pieceLength(digits);
        bool finished = false;
        std::int64_t written = 0;
        if (exactSteps) {
            finished = appendExactDigits(remainder, wholeValue(Divisor), count, piece);
            written = std::int64_t(piece.size());
            Dividend = float((piece.back() - u'0') * wholeValue(Divisor) + remainder);
        }
        for (; !exactSteps && written < count && !finished; ++written) {
            Dividend = nextDividend(Dividend, Divisor);
            const float digit = quotientFloor(Dividend, Divisor);
            digit < 10 ? piece += char16_t(u'0' + int(digit))
                       : piece += NumberText::fromFloat(digit, m_decimalSeparator);
            finished = dividesExactly(Dividend, Divisor);
        }
        digits += written;
        // DigitCount, a float, holds the count exactly only up to 2^24, so the places are compared
        // with the exact count; a number of places that is not whole never equals it.
        DigitCount = float(digits);
        const bool placesReached = double(digits) == double(DecimalPlaces);
        if (placesReached || digits == m_digitLimit || finished)
            Stopped = true;
        m_host.appendToResultText(piece);
        // Decided before the yield, where a Stop and a new Start may replace this run's state.
        if (digits == m_digitLimit && !placesReached && !finished)
            m_host.showWarning(MessageCatalogue::text(124));
        m_host.yield();
    }
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
