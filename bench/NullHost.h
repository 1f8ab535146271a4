#pragma once

#include "DivisionHost.h"

// A window that shows nothing: what is left is the cost of the engine itself.
class NullHost : public DivisionHost
{
public:
    std::u16string dividendText() const override { return u"1"; }
    void setDividendText(std::u16string_view) override { }
    std::u16string divisor = u"7";
    std::u16string divisorText() const override { return divisor; }
    void setDivisorText(std::u16string_view) override { }
    void setResultText(std::u16string_view) override { }
    void appendToResultText(std::string_view) override { }
    void repeatResultDigits(std::int64_t, std::int64_t) override { }
    void setStartEnabled(bool) override { }
    void showWarning(std::u16string_view) override { }
    void yield() override { }
};
