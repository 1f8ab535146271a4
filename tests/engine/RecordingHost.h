#pragma once

#include "DivisionHost.h"

#include <functional>
#include <string>
#include <vector>

// Plays the window for the engine and remembers what the engine did to it.
class RecordingHost : public DivisionHost
{
public:
    std::u16string dividend;
    std::u16string divisor;
    std::u16string result;
    bool startEnabled = true;
    std::vector<std::u16string> warnings;
    std::vector<bool> startEnabledAtYield;
    int yields = 0;
    // Runs inside every yield, as a command of the window would between two digits.
    std::function<void(int yieldNumber)> onYield;

    std::u16string dividendText() const override { return dividend; }
    void setDividendText(std::u16string_view text) override { dividend = text; }
    std::u16string divisorText() const override { return divisor; }
    void setDivisorText(std::u16string_view text) override { divisor = text; }
    void setResultText(std::u16string_view text) override { result = text; }
    void appendToResultText(std::u16string_view text) override { result += text; }
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void showWarning(std::u16string_view message) override { warnings.emplace_back(message); }

    void yield() override
    {
        ++yields;
        startEnabledAtYield.push_back(startEnabled);
        if (onYield)
            onYield(yields);
    }
};
