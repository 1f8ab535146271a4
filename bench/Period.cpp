#include "Period.h"

#include "PeriodFinder.h"
#include "ProcessMemory.h"
#include "WindowRun.h"

#include <QElapsedTimer>
#include <cstdio>
#include <thread>

namespace {

struct Search
{
    double milliseconds = 0;
    qint64 peakBytes = 0;
    Period found;
};

Search searchAlone(float dividend, float divisor)
{
    resetPeakResident();
    const qint64 before = statusBytes("VmHWM:");
    QElapsedTimer timer;
    timer.start();
    const Period found = findPeriod(dividend, divisor, 100'000'000);
    return { double(timer.nsecsElapsed()) / 1e6, statusBytes("VmHWM:") - before, found };
}

// The digits of 1 / 7 in the window after `milliseconds`.
qsizetype digitsIn(int milliseconds)
{
    WindowRun run;
    run.runUntil([&](double ms) { return ms >= milliseconds; });
    return run.digits();
}

} // namespace

int period()
{
    std::printf(
        "| measure (%s) | figure |\n|---|---|\n", qPrintable(QGuiApplication::platformName()));
    for (auto [dividend, divisor] : { std::pair(22.0F, 7.0F), { 1, 3000017 }, { 1, 16777213 } }) {
        const Search search = searchAlone(dividend, divisor);
        std::printf("| %.0f/%.0f: period %lld after %lld digits, found in ms | %.2f |\n"
                    "| %.0f/%.0f: peak resident set added while searching, bytes | %lld |\n",
            dividend, divisor, static_cast<long long>(search.found.length),
            static_cast<long long>(search.found.preperiod), search.milliseconds, dividend, divisor,
            static_cast<long long>(search.peakBytes));
    }

    double statedAfter = -1;
    WindowRun stated(QStringLiteral("1"), QStringLiteral("16777213"));
    stated.pollMs = 1;
    stated.runUntil([&](double ms) {
        if (statedAfter < 0 && !stated.box()->toolTip().isEmpty())
            statedAfter = ms;
        return ms >= 500;
    });
    std::printf("| window, 1/16777213: Start to the period stated, ms | %.1f |\n", statedAfter);

    // The search for 1/7 ends at once; a long one is kept busy beside the run instead, so that
    // the run shares the machine with it the whole time.
    qsizetype alone = 0, beside = 0;
    for (int round = 0; round < 5; ++round) {
        alone += digitsIn(500);
        std::jthread busy([](std::stop_token stop) {
            while (!stop.stop_requested())
                findPeriod(1, 3000017, 100'000'000, stop);
        });
        beside += digitsIn(500);
    }
    std::printf("| window, 1/7: digits in 5 x 0.5 s alone | %lld |\n"
                "| window, 1/7: digits in 5 x 0.5 s with a search busy beside | %lld |\n"
                "| beside / alone | %.3f |\n",
        static_cast<long long>(alone), static_cast<long long>(beside),
        double(beside) / double(alone));
    return 0;
}
