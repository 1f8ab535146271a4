#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the long division needs of the window that shows it.
class DivisionHost
{
public:
    virtual ~DivisionHost() = default;

    virtual std::u16string dividendText() const = 0;
    virtual void setDividendText(std::u16string_view text) = 0;
    virtual std::u16string divisorText() const = 0;
    virtual void setDivisorText(std::u16string_view text) = 0;

    // A division of these magnitudes begins, after its operands were checked.
    virtual void divisionStarted(float /*dividend*/, float /*divisor*/) { }

    virtual void setResultText(std::u16string_view text) = 0;
    // Extends the result text at its end by these decimal digits, one ASCII byte each; called once
    // for every piece of digits, so it must not cost more as the text grows.
    virtual void appendToResultText(std::string_view digits) = 0;
    // Extends the result text by `count` digits, each the same as the one `period` characters
    // before it.
    virtual void repeatResultDigits(std::int64_t period, std::int64_t count) = 0;

    virtual void setStartEnabled(bool enabled) = 0;

    // A modal box titled "Zlomkar" with an OK button and the warning icon; returns once closed.
    virtual void showWarning(std::u16string_view message) = 0;

    // Processes every waiting event of the window system, then returns.
    virtual void yield() = 0;
};
