#include "WholeText.h"

#include "ProcessMemory.h"
#include "ResultBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <functional>

namespace {

void measure(const char *what, const std::function<void()> &action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    std::printf("| %s, ms | %.2f |\n", what, double(timer.nsecsElapsed()) / 1e6);
}

} // namespace

int wholeText()
{
    constexpr qsizetype digits = 100'000'000;
    ResultBox box;
    box.resize(313, 369);
    box.show();
    (void)QTest::qWaitForWindowExposed(&box);
    box.setText(QStringLiteral("0,"));
    const QString piece = QString(1 << 20, u'7');
    for (qsizetype held = 0; held < digits; held += piece.size())
        box.append(QStringView(piece).left(std::min(piece.size(), digits - held)));
    QCoreApplication::processEvents();
    const qint64 before = residentBytes();
    QAccessibleTextInterface *reader = QAccessible::queryAccessibleInterface(&box)->textInterface();
    int start = 0, end = 0;

    std::printf("| measure at %lld digits (%s) | figure |\n|---|---|\n",
        static_cast<long long>(digits), qPrintable(QGuiApplication::platformName()));
    measure("Ctrl+A", [&] { QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier); });
    measure("Ctrl+C", [&] { QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier); });
    measure("Shift+Left with everything selected",
        [&] { QTest::keyClick(&box, Qt::Key_Left, Qt::ShiftModifier); });
    QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
    measure("Ctrl+Shift+End",
        [&] { QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier); });
    measure("a double click on the digits", [&] {
        QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, box.characterRect(digits).center());
    });
    const int caret = reader->cursorPosition();
    measure("a reader's word at the caret",
        [&] { reader->textAtOffset(caret, QAccessible::WordBoundary, &start, &end); });
    measure("a reader's sentence at the caret",
        [&] { reader->textAtOffset(caret, QAccessible::SentenceBoundary, &start, &end); });
    qsizetype pasted = 0;
    measure("a paste of what Ctrl+C copied",
        [&] { pasted = QGuiApplication::clipboard()->text().size(); });
    std::printf("| characters pasted | %lld |\n", static_cast<long long>(pasted));
    std::printf("| resident set after these above the text's, MB | %.1f |\n",
        double(residentBytes() - before) / 1e6);
    return 0;
}
