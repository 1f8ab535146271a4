// Measures how fast the long division produces digits, alone and in the real main window, how often
// the result box is drawn meanwhile, how quickly Stop, the close box and Quit end a long run, and
// how much memory a digit costs. Prints a table and, last, one line with the figures.
//
//   zlomkar_bench              runs everything (about a minute)
//   zlomkar_bench --quick      shorter runs, for a smoke test
//   zlomkar_bench --soak       many runs and About windows: open files and memory before and after
//   zlomkar_bench --to-the-limit   a run to the limit of digits: its memory there, a save of
//                                  its digits, and a Start after it
//   zlomkar_bench --whole-text     what touches the whole of a hundred million digits
//   zlomkar_bench --period         the search for a result's period, alone and beside a run
//
// The window runs on the platform Qt picks: offscreen when QT_QPA_PLATFORM=offscreen, or the X11
// display in DISPLAY (for instance under xvfb-run).
#include "DivisionEngine.h"
#include "Form1.h"
#include "NullHost.h"
#include "Period.h"
#include "ProcessMemory.h"
#include "ResultBox.h"
#include "Soak.h"
#include "WholeText.h"
#include "WindowRun.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

// The engine with the window's pieces, 1/7 on the integer path or 1/`divisor` on the float steps.
double engineDigitsPerSecond(float digits, std::u16string divisor = u"7")
{
    NullHost host;
    host.divisor = std::move(divisor);
    DivisionEngine engine(host, u",", DivisionEngine::maximumDigits, Form1::digitsPerYield);
    engine.DecimalPlaces = digits;
    const auto start = Clock::now();
    engine.StartDivision();
    return digits / (millisecondsSince(start) / 1000);
}

// The result box alone, appending one digit at a time: nanoseconds per digit in the first and in
// the last million of `digits`.
std::pair<double, double> resultBoxAppendNs(qsizetype digits)
{
    ResultBox box;
    box.resize(313, 369);
    box.show();
    box.setText(QStringLiteral("0,"));
    const char16_t digit[] = { u'7' };
    double first = 0;
    double last = 0;
    for (qsizetype million = 0; million < digits / 1'000'000; ++million) {
        const auto start = Clock::now();
        for (int i = 0; i < 1'000'000; ++i) {
            box.append(QStringView(digit, 1));
            // The box repaints from a timer, as it does between a run's digits.
            if ((i & 1023) == 0)
                QCoreApplication::processEvents();
        }
        last = millisecondsSince(start) * 1e6 / 1'000'000;
        if (million == 0)
            first = last;
    }
    return { first, last };
}

struct Figures
{
    double engineRate = 0;
    double engineStepsRate = 0;
    std::pair<double, double> appendNs;
    qsizetype after2s = 0;
    qsizetype after8s = 0;
    double limitSeconds = -1;
    // Digits at the end of every second, to see whether the rate holds.
    QList<qsizetype> everySecond;
    double paintsPerSecond = 0;
    double stopEarly = 0;
    double closeEarly = 0;
    qsizetype longRunDigits = 0;
    double longRunSeconds = 0;
    double stopLongRun = 0;
    double closeLongRun = 0;
    double bytesPerDigit = 0;
    double selectAllCopyMs = 0;
    double menuMs = 0;
    double caretMs = 0;
    double quitMs = 0;
};

// Counts the paint events of a widget.
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

// The milliseconds that `action` takes, with the events it leaves, such as a repaint.
double millisecondsOf(const std::function<void()> &action)
{
    const auto start = Clock::now();
    action();
    QCoreApplication::processEvents();
    return millisecondsSince(start);
}

// The milliseconds from a right click on the box until its menu shows and takes events.
double menuMs(ResultBox *box)
{
    const auto start = Clock::now();
    double shown = 0;
    QTimer::singleShot(0, box, [&] {
        shown = millisecondsSince(start);
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(box->viewport(), &click);
    return shown;
}

// Runs 1 / 7 without a decimal-places limit until the run stops by itself at the limit of digits,
// and prints the digits and the resident set then; saves them through the menu, printing the time
// and the memory the save adds; and starts a new run, printing what that costs with assistive
// technology on (run on an accessibility bus for that).
int runToTheLimit()
{
    WindowRun run;
    QTemporaryDir folder;
    Clock::time_point saveAccepted;
    QTimer modal;
    QObject::connect(&modal, &QTimer::timeout, [&] {
        QWidget *window = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(window)) {
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(folder.filePath(QStringLiteral("result.txt")));
            saveAccepted = Clock::now();
            QMetaObject::invokeMethod(dialog, &QDialog::accept);
        }
    });
    modal.start(100);
    const auto start = Clock::now();
    run.runUntil([](double) { return false; });
    const double seconds = millisecondsSince(start) / 1000;
    const qsizetype digits = run.digits();

    resetPeakResident();
    const qint64 beforeSave = residentBytes();
    run.form().findChild<QAction *>(QStringLiteral("MenuSave"))->trigger();
    const double saveMs = millisecondsSince(saveAccepted);
    const qint64 savedBytes = QFileInfo(folder.filePath(QStringLiteral("result.txt"))).size();

    run.form().findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("10"));
    run.form().findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("5"));
    const double startMs = millisecondsOf(
        [&] { run.form().findChild<QPushButton *>(QStringLiteral("Command1"))->click(); });

    std::printf("| digits held at the limit | %lld |\n| seconds to the limit | %.2f |\n"
                "| resident set at the limit, MB | %.0f |\n"
                "| Save: bytes written | %lld |\n| Save: seconds | %.2f |\n"
                "| Save: memory added above the run's resident set, MB | %.1f |\n"
                "| Start after the run, assistive technology %s, ms | %.1f |\n",
        static_cast<long long>(digits), seconds, double(run.residentAtLimit) / 1e6,
        static_cast<long long>(savedBytes), saveMs / 1000,
        double(statusBytes("VmHWM:") - beforeSave) / 1e6, QAccessible::isActive() ? "on" : "off",
        startMs);
    return 0;
}

double quitLatencyMs(const QString &self)
{
    QProcess child;
    child.start(self, { QStringLiteral("--quit-child") });
    if (!child.waitForReadyRead(30000))
        return -1;
    const qint64 pressedNs = child.readLine().trimmed().toLongLong();
    child.waitForFinished(30000);
    const qint64 endedNs
        = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
              .count();
    return double(endedNs - pressedNs) / 1e6;
}

// The child of quitLatencyMs: runs 1 / 7 for a second, then clicks Quit and says when.
int quitChild()
{
    Form1 form(QStringLiteral(","));
    form.show();
    form.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("7"));
    form.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("1"));
    QTimer::singleShot(
        0, &form, [&] { form.findChild<QPushButton *>(QStringLiteral("Command1"))->click(); });
    QTimer::singleShot(1000, &form, [&] {
        const qint64 now
            = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
                  .count();
        std::printf("%lld\n", static_cast<long long>(now));
        std::fflush(stdout);
        // A click rather than Ctrl+Q: without a window manager the window is never active, and
        // shortcuts only reach the active window.
        QMetaObject::invokeMethod(form.findChild<QPushButton *>(QStringLiteral("Command4")),
            &QPushButton::click, Qt::QueuedConnection);
    });
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(QStringLiteral("--quit-child")))
        return quitChild();
    if (arguments.contains(QStringLiteral("--soak")))
        return soak();
    if (arguments.contains(QStringLiteral("--to-the-limit")))
        return runToTheLimit();
    if (arguments.contains(QStringLiteral("--whole-text")))
        return wholeText();
    if (arguments.contains(QStringLiteral("--period")))
        return period();
    const bool quick = arguments.contains(QStringLiteral("--quick"));
    const qsizetype longRun = quick ? 5'000'000 : 50'000'000;

    Figures figures;
    figures.engineRate = engineDigitsPerSecond(quick ? 2e7F : 1e8F);
    figures.engineStepsRate = engineDigitsPerSecond(quick ? 2e6F : 1e7F, u"16777213");
    figures.appendNs = resultBoxAppendNs(quick ? 2'000'000 : 10'000'000);
    {
        WindowRun run;
        PaintCounter counter;
        run.box()->viewport()->installEventFilter(&counter);
        run.runUntil([&](double elapsedMs) {
            if (elapsedMs >= 1000 * (figures.everySecond.size() + 1))
                figures.everySecond << run.digits();
            if (elapsedMs >= 2000 && figures.after2s == 0)
                figures.after2s = run.digits();
            if (elapsedMs < 8000)
                return false;
            figures.after8s = run.digits();
            figures.paintsPerSecond = counter.paints / (elapsedMs / 1000);
            return true;
        });
        // A run that reaches the limit of digits first ends there.
        figures.limitSeconds = run.limitMs / 1000;
        if (figures.after8s == 0) {
            figures.after2s = figures.after2s ? figures.after2s : run.digits();
            figures.after8s = run.digits();
            figures.paintsPerSecond = counter.paints / figures.limitSeconds;
        }
    }
    auto early = [](double elapsedMs) { return elapsedMs >= 100; };
    figures.stopEarly = WindowRun().runUntil(early);
    figures.closeEarly = WindowRun().runUntil(early, WindowRun::Ending::CloseBox);
    {
        WindowRun run;
        const qint64 before = residentBytes();
        figures.stopLongRun = run.runUntil([&](double elapsedMs) {
            if (run.digits() < longRun)
                return false;
            figures.longRunDigits = run.digits();
            figures.longRunSeconds = elapsedMs / 1000;
            figures.bytesPerDigit = double(residentBytes() - before) / double(run.digits());
            return true;
        });
        ResultBox *box = run.box();
        figures.selectAllCopyMs = millisecondsOf([&] {
            press(box, Qt::Key_A, Qt::ControlModifier);
            press(box, Qt::Key_C, Qt::ControlModifier);
        });
        figures.menuMs = menuMs(box);
        press(box, Qt::Key_End, Qt::ControlModifier);
        figures.caretMs = millisecondsOf([&] { press(box, Qt::Key_Left); });
    }
    {
        WindowRun run;
        figures.closeLongRun = run.runUntil(
            [&](double) { return run.digits() >= longRun; }, WindowRun::Ending::CloseBox);
    }
    figures.quitMs = quitLatencyMs(QCoreApplication::applicationFilePath());

    const QString platform = QGuiApplication::platformName();
    const double windowRate
        = double(figures.after8s) / (figures.limitSeconds > 0 ? figures.limitSeconds : 8);
    const auto digits = static_cast<long long>(figures.longRunDigits);
    std::printf("| measure (%s) | figure | target |\n|---|---|---|\n", qPrintable(platform));
    std::printf(
        "| engine alone, 1/7, digits per second | %.0f | >= 100000000 |\n", figures.engineRate);
    std::printf("| engine alone, 1/16777213 (float steps), digits per second | %.0f | |\n",
        figures.engineStepsRate);
    std::printf("| result box alone, ns per digit in the first million | %.1f | |\n",
        figures.appendNs.first);
    std::printf("| result box alone, ns per digit in the last million | %.1f | |\n",
        figures.appendNs.second);
    std::printf("| window, digits after 2 s | %lld | |\n", static_cast<long long>(figures.after2s));
    std::printf("| window, digits after 8 s | %lld | |\n", static_cast<long long>(figures.after8s));
    for (qsizetype second = 1; second < figures.everySecond.size(); ++second)
        std::printf("| window, digits in second %lld | %lld | |\n",
            static_cast<long long>(second + 1),
            static_cast<long long>(figures.everySecond[second] - figures.everySecond[second - 1]));
    std::printf("| window, digits per second over 8 s or to the limit | %.0f | |\n", windowRate);
    std::printf(
        "| window, seconds to the limit of digits (-0.001: not reached in 8 s) | %.3f | <= 2 "
        "|\n",
        figures.limitSeconds);
    std::printf("| window / engine alone | %.2f | |\n", windowRate / figures.engineRate);
    std::printf("| digits after 8 s / after 2 s | %.2f | |\n",
        double(figures.after8s) / double(std::max<qsizetype>(1, figures.after2s)));
    std::printf("| result box paints per second during the run | %.0f | >= 30 |\n",
        figures.paintsPerSecond);
    std::printf(
        "| Stop click at 0.1 s to the end of the run, ms | %.2f | < 20 |\n", figures.stopEarly);
    std::printf(
        "| close box at 0.1 s to the end of the run, ms | %.2f | < 20 |\n", figures.closeEarly);
    std::printf("| window, digits per second over %lld digits | %.0f | |\n", digits,
        double(figures.longRunDigits) / figures.longRunSeconds);
    std::printf("| Stop click at %lld digits to the end of the run, ms | %.2f | < 20 |\n", digits,
        figures.stopLongRun);
    std::printf("| close box at %lld digits to the end of the run, ms | %.2f | < 20 |\n", digits,
        figures.closeLongRun);
    std::printf("| memory per digit at %lld digits, bytes | %.2f | <= 2 |\n", digits,
        figures.bytesPerDigit);
    std::printf("| Select All and Copy at %lld digits, ms | %.1f | <= 200 |\n", digits,
        figures.selectAllCopyMs);
    std::printf("| the result box's menu shown, ms | %.1f | <= 50 |\n", figures.menuMs);
    std::printf("| a caret move at the end, ms | %.2f | <= 5 |\n", figures.caretMs);
    std::printf("| Quit to end of process, ms | %.1f | <= 200 |\n", figures.quitMs);
    std::printf("figures: platform=%s engine=%.0f/s window=%.0f/s ratio=%.2f paints=%.0f/s "
                "stop=%.2fms close=%.2fms stop%lld=%.2fms close%lld=%.2fms bytes/digit=%.2f "
                "copy=%.1fms menu=%.1fms caret=%.2fms quit=%.1fms\n",
        qPrintable(platform), figures.engineRate, windowRate, windowRate / figures.engineRate,
        figures.paintsPerSecond, figures.stopEarly, figures.closeEarly, digits, figures.stopLongRun,
        digits, figures.closeLongRun, figures.bytesPerDigit, figures.selectAllCopyMs,
        figures.menuMs, figures.caretMs, figures.quitMs);
    return 0;
}
