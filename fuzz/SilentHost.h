#pragma once

#include "DivisionEngine.h"
#include "DivisionHost.h"

#include <string>
#include <vector>

// A window that shows nothing. It keeps the texts, the state of Start and the warnings for the
// properties to read, and stops the run after a fixed number of digits.
class SilentHost : public DivisionHost
{
public:
    SilentHost(std::u16string dividend, std::u16string divisor, int yieldLimit)
        : dividend(std::move(dividend))
        , divisor(std::move(divisor))
        , m_yieldLimit(yieldLimit)
    { }

    void stopsRunOf(DivisionEngine &engine) { m_engine = &engine; }

    std::u16string dividendText() const override { return dividend; }
    void setDividendText(std::u16string_view text) override { dividend = text; }
    std::u16string divisorText() const override { return divisor; }
    void setDivisorText(std::u16string_view text) override { divisor = text; }
    void setResultText(std::u16string_view text) override { result = text; }
    void appendToResultText(std::u16string_view text) override { result += text; }
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void showWarning(std::u16string_view message) override { warnings.emplace_back(message); }

    // Sets only Stopped, unlike the Stop button, so that Start enabled at the end is the engine's
    // own doing.
    void yield() override
    {
        startEnabledInAYield = startEnabledInAYield || startEnabled;
        if (++yields == m_yieldLimit && m_engine)
            m_engine->Stopped = true;
    }

    std::u16string dividend;
    std::u16string divisor;
    std::u16string result;
    bool startEnabled = true;
    bool startEnabledInAYield = false;
    std::vector<std::u16string> warnings;
    int yields = 0;

private:
    DivisionEngine *m_engine = nullptr;
    const int m_yieldLimit;
};
