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
//   zlomkar_bench --limits [--digits N]   runs to the limit of digits (or N): seconds, memory,
//                                  the digits' digest, and the engine alone to as many
//
// The window runs on the platform Qt picks: offscreen when QT_QPA_PLATFORM=offscreen, or the X11
// display in DISPLAY (for instance under xvfb-run).
#include "DivisionEngine.h"
#include "Form1.h"
#include "Limits.h"
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

// The engine dividing, with the window's pieces, before the digits of 1/`divisor` repeat.
double engineDigitsPerSecond(float digits, std::u16string divisor)
{
    NullHost host;
    host.divisor = std::move(divisor);
    DivisionEngine engine(host, u",", DivisionEngine::maximumDigits, Form1::digitsPerYield);
    engine.DecimalPlaces = digits;
    const auto start = Clock::now();
    engine.StartDivision();
    return digits / (millisecondsSince(start) / 1000);
}

struct Figures
{
    double integerRate = 0;
    double stepsRate = 0;
    double paintsPerSecond = 0;
    double stopEarly = 0;
    double closeEarly = 0;
    qsizetype longRunDigits = 0;
    double stopLongRun = 0;
    double closeLongRun = 0;
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
    const qsizetype digitsArgument = arguments.indexOf(QStringLiteral("--digits"));
    const qint64 digitLimit = digitsArgument > 0 ? arguments.value(digitsArgument + 1).toLongLong()
                                                 : DivisionEngine::maximumDigits;
    if (arguments.contains(QStringLiteral("--limits")))
        return limits(digitLimit);
    const bool quick = arguments.contains(QStringLiteral("--quick"));
    const qsizetype longRun = quick ? 5'000'000 : 50'000'000;

    Figures figures;
    // 1/1677703 repeats after 1,677,702 digits, 1/3000017 after 3,000,016.
    figures.integerRate = engineDigitsPerSecond(quick ? 2e6F : 2e7F, u"1677703");
    figures.stepsRate = engineDigitsPerSecond(quick ? 1e6F : 5e6F, u"3000017");
    limits(DivisionEngine::maximumDigits);
    {
        // The longest run there is: millions of digits before they repeat.
        WindowRun run(QStringLiteral("1"), QStringLiteral("3000017"));
        PaintCounter counter;
        run.box()->viewport()->installEventFilter(&counter);
        run.runUntil([](double) { return false; });
        figures.paintsPerSecond = counter.paints / (run.limitMs / 1000);
    }
    auto early = [](double elapsedMs) { return elapsedMs >= 100; };
    WindowRun slow(QStringLiteral("1"), QStringLiteral("3000017"));
    figures.stopEarly = slow.runUntil(early);
    figures.closeEarly = WindowRun(QStringLiteral("1"), QStringLiteral("3000017"))
                             .runUntil(early, WindowRun::Ending::CloseBox);
    {
        WindowRun run;
        run.pollMs = 0;
        figures.stopLongRun = run.runUntil([&](double) {
            figures.longRunDigits = run.digits();
            return run.digits() >= longRun;
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
        run.pollMs = 0;
        figures.closeLongRun = run.runUntil(
            [&](double) { return run.digits() >= longRun; }, WindowRun::Ending::CloseBox);
    }
    figures.quitMs = quitLatencyMs(QCoreApplication::applicationFilePath());

    const auto digits = static_cast<long long>(figures.longRunDigits);
    std::printf(
        "| measure (%s) | figure |\n|---|---|\n", qPrintable(QGuiApplication::platformName()));
    std::printf("| engine dividing, integer path (1/1677703), digits per second | %.0f |\n",
        figures.integerRate);
    std::printf("| engine dividing, float steps (1/3000017), digits per second | %.0f |\n",
        figures.stepsRate);
    std::printf(
        "| result box paints per second during 1/3000017 | %.0f |\n", figures.paintsPerSecond);
    std::printf("| Stop click at 0.1 s to the end of the run, ms | %.2f |\n", figures.stopEarly);
    std::printf("| close box at 0.1 s to the end of the run, ms | %.2f |\n", figures.closeEarly);
    std::printf("| Stop click at %lld digits to the end of the run, ms | %.2f |\n", digits,
        figures.stopLongRun);
    std::printf("| close box at %lld digits to the end of the run, ms | %.2f |\n", digits,
        figures.closeLongRun);
    std::printf(
        "| Select All and Copy at %lld digits, ms | %.1f |\n", digits, figures.selectAllCopyMs);
    std::printf("| the result box's menu shown, ms | %.1f |\n", figures.menuMs);
    std::printf("| a caret move at the end, ms | %.2f |\n", figures.caretMs);
    std::printf("| Quit to end of process, ms | %.1f |\n", figures.quitMs);
    return 0;
}
