#include "Period.h"

#include "Form1.h"
#include "PeriodFinder.h"
#include "ProcessMemory.h"
#include "ResultBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
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

// Runs `dividend` / `divisor` in a fresh main window for `milliseconds`; calls `watch` every
// millisecond or so in its yields, and returns the digits it held at the end.
qsizetype windowRun(const QString &dividend, const QString &divisor, int milliseconds,
    const std::function<void(ResultBox *, double)> &watch = {})
{
    Form1 form(QStringLiteral(","));
    form.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(dividend);
    form.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(divisor);
    form.show();
    auto *box = form.findChild<ResultBox *>(QStringLiteral("Text3"));
    QElapsedTimer timer;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *warning = QApplication::activeModalWidget()) // the limit of digits reached
            warning->close();
        if (watch)
            watch(box, double(timer.nsecsElapsed()) / 1e6);
        if (timer.elapsed() >= milliseconds)
            form.findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    });
    poll.start(1);
    timer.start();
    form.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    return box->length();
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
    windowRun(QStringLiteral("1"), QStringLiteral("16777213"), 500, [&](ResultBox *box, double ms) {
        if (statedAfter < 0 && !box->toolTip().isEmpty())
            statedAfter = ms;
    });
    std::printf("| window, 1/16777213: Start to the period stated, ms | %.1f |\n", statedAfter);

    // The search for 1/7 ends at once; a long one is kept busy beside the run instead, so that
    // the run shares the machine with it the whole time.
    qsizetype alone = 0, beside = 0;
    for (int round = 0; round < 5; ++round) {
        alone += windowRun(QStringLiteral("1"), QStringLiteral("7"), 500);
        std::jthread busy([](std::stop_token stop) {
            while (!stop.stop_requested())
                findPeriod(1, 3000017, 100'000'000, stop);
        });
        beside += windowRun(QStringLiteral("1"), QStringLiteral("7"), 500);
    }
    std::printf("| window, 1/7: digits in 5 x 0.5 s alone | %lld |\n"
                "| window, 1/7: digits in 5 x 0.5 s with a search busy beside | %lld |\n"
                "| beside / alone | %.3f |\n",
        static_cast<long long>(alone), static_cast<long long>(beside),
        double(beside) / double(alone));
    return 0;
}
