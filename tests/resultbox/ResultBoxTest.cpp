#include "ResultBox.h"

#include <QAccessible>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

// `area` of `widget` as the window last showed it: what was not repainted is not seen.
QImage shown(QWidget *widget, const QRect &area)
{
    return widget->screen()
        ->grabWindow(widget->window()->winId())
        .toImage()
        .copy((area & widget->rect()).translated(widget->mapTo(widget->window(), QPoint())))
        .convertToFormat(QImage::Format_RGB32);
}

// Whether anything dark is shown in `area`.
bool inked(QWidget *widget, const QRect &area)
{
    const QImage image = shown(widget, area);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

// The text, and where the caret and the selection are, as assistive technology was told.
QString toldText;
QList<int> toldCaret;

void listen(QAccessibleEvent *event)
{
    if (auto *update = dynamic_cast<QAccessibleTextUpdateEvent *>(event))
        toldText.replace(
            update->changePosition(), update->textRemoved().size(), update->textInserted());
    else if (auto *insert = dynamic_cast<QAccessibleTextInsertEvent *>(event))
        toldText.insert(insert->changePosition(), insert->textInserted());
    else if (auto *selection = dynamic_cast<QAccessibleTextSelectionEvent *>(event))
        toldCaret << selection->selectionStart() << selection->selectionEnd();
    else if (auto *cursor = dynamic_cast<QAccessibleTextCursorEvent *>(event))
        toldCaret = { cursor->cursorPosition() };
}

// Offscreen, only the platform's own switch turns assistive technology on.
void hear(bool on)
{
    static const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(nullptr);
    QAccessible::installUpdateHandler(on ? listen : previous);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(on);
}

} // namespace

class ResultBoxTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ResultBox> m_box;

    ResultBox *box() const { return m_box.get(); }
    auto *reader() const { return QAccessible::queryAccessibleInterface(box())->textInterface(); }

private slots:
    // The caret blinks every 100 ms, which the polls of QTRY_ see both ways.
    void initTestCase()
    {
        hear(true);
        QApplication::setCursorFlashTime(200);
    }
    void cleanupTestCase() { hear(false); }
    // As large as in the main window.
    void init()
    {
        toldText.clear();
        toldCaret.clear();
        m_box = std::make_unique<ResultBox>();
        m_box->resize(313, 369);
        m_box->setText(QString(4096, '4')); // the longest old text a reader is told of
        m_box->show();
        QVERIFY(QTest::qWaitForWindowActive(m_box.get()));
    }

    // A result with a line break, read with keys and double clicks.
    void resultBox()
    {
        box()->setText("0,12345\r\n67");
        QStringList seen;
        QCOMPARE(toldCaret, QList({ 0, 0, 0 }));
        for (const char *keys :
            { "Right, Right, Shift+Left, Shift+Left", "Shift+End", "Ctrl+End, Shift+Left, Shift+Up",
                "Ctrl+Home, Ctrl+Right", "Ctrl+Shift+Left", "Ctrl+Home, End, Down, Up" }) {
            QTest::keySequence(box(), QKeySequence(keys));
            seen << QString::number(reader()->cursorPosition()) + ':' + box()->selectedText();
        }
        const QPoint first = box()->characterRect(0).center();
        for (const QPoint &at :
            { first, QPoint(200, first.y()), box()->characterRect(9).center(), QPoint(3, 300) }) {
            QTest::mouseDClick(box()->viewport(), Qt::LeftButton, {}, at);
            seen << box()->selectedText();
        }
        QCOMPARE(
            seen.join('|'), "0:0,|7:12345|1:,12345\r\n67|7:|0:0,12345|7:|0,12345|0,12345|67|67");
        // What was copied stays as it was when a new result comes.
        box()->copy();
        box()->setText("a😀b");
        QCOMPARE(QGuiApplication::clipboard()->text(), "67");
        // The caret steps over a character of two halves; a reader cannot select outside the text.
        QTest::keySequence(box(), QKeySequence("Right, Right"));
        reader()->setSelection(0, -1, 9);
        int start = reader()->cursorPosition(), end = 0;
        QCOMPARE(start, 3);
        for (int at : { 0, 4 }) { // the first and the last place, then nothing is selected
            reader()->setCursorPosition(at);
            reader()->selection(0, &start, &end);
            QCOMPARE(QList({ reader()->cursorPosition(), start, end }), QList({ at, 0, 0 }));
        }
    }

    // Ink at the last character after Ctrl+End, none past it, the first row after a reader's
    // scroll; after relayouts, and appends shown while they go on.
    void ink_data()
    {
        QTest::addColumn<QString>("change");
        for (const char *change : { "none", "narrower", "larger font", "appends" })
            QTest::newRow(change) << change;
    }
    void ink()
    {
        QFETCH(QString, change);
        box()->setText(QString(change == "appends" ? 0 : 2000, '8'));
        if (change == "narrower")
            box()->resize(box()->width() / 2, box()->height());
        if (change == "larger font")
            box()->setFont(QFont(box()->font().family(), box()->font().pointSize() * 2));
        QScrollBar *bar = box()->verticalScrollBar();
        QTimer appender; // stops at once where the text already takes more than the view
        connect(&appender, &QTimer::timeout, this,
            [&] { bar->maximum() > 0 ? appender.stop() : box()->append(u"8888888888"); });
        appender.start();
        QTRY_VERIFY(!appender.isActive());
        QCOMPARE(bar->value() == bar->maximum(), change == "appends");
        QCOMPARE(toldText, box()->text());
        QWidget *view = box()->viewport();
        // A bar over the last three characters of the first row and the first three of the next.
        const QFontMetrics metrics(box()->font());
        const QRect first = box()->characterRect(0);
        const qsizetype from = box()->offsetAt({ 0, first.bottom() + first.height() / 2 }) - 3;
        box()->setOverline(from, 6);
        for (qsizetype at = from - 1; at <= from + 6 && change != "appends"; ++at) {
            const QRect glyph = box()->characterRect(at);
            QTRY_COMPARE(inked(view,
                             { glyph.left() + 1, glyph.top(), glyph.width() - 2,
                                 metrics.ascent() - metrics.capHeight() }),
                at >= from && at < from + 6);
        }
        QTest::keyClick(box(), Qt::Key_End, Qt::ControlModifier);
        const QRect last = box()->characterRect(box()->length() - 1);
        QVERIFY(view->rect().adjusted(0, 0, 0, -2).contains(last)); // above the bottom margin
        QTRY_VERIFY(inked(view, last) && !inked(view, { last.right() + 4, last.top(), 40, 40 }));
        box()->clearFocus(); // so no blink repaints what a scroll alone must
        QCoreApplication::processEvents();
        change == "appends" ? reader()->setCursorPosition(0) : reader()->scrollToSubstring(0, 1);
        QVERIFY(view->rect().contains(box()->characterRect(0)));
        QTRY_COMPARE(shown(view, view->rect()),
            view->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // On rows of digits, after a click at the first row's start or end or the second's start:
    // caret, selection, its row and the first row in view, in rows (P: a page).
    void rowEdges_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("seen");
        for (const auto &[keys, seen] : { std::pair { "End, End", "1 1 1 0 0" },
                 { "End, Home", "0 0 0 0 0" }, { "Shift+End", "1 0 1 0 0" },
                 { "Shift+End, Shift+Home", "0 0 0 0 0" }, { "End, Down", "2 2 2 1 0" },
                 { "Down, End, Up", "1 1 1 0 0" }, { "End, Right, Left", "1 1 1 1 0" },
                 { "PgDown", "P P P P 1" }, { "@click right", "1 1 1 0 0" },
                 { "@click below", "1 1 1 1 0" }, { "@drag", "1 0 1 0 0" },
                 { "End @right button", "1 1 1 0 0" }, { "@triple click", "1 0 1 1 0" } })
            QTest::newRow(keys) << keys << seen;
    }
    void rowEdges()
    {
        QFETCH(QString, keys);
        QFETCH(QString, seen);
        box()->setText(QString("142857").repeated(1000));
        QWidget *view = box()->viewport();
        int start = 0, end = 0;
        reader()->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
        const double row = end, page = box()->verticalScrollBar()->pageStep();
        const QPoint rowStart(3, 5), rowEnd(view->width() - 3, 5);
        QTest::mouseClick(view, Qt::LeftButton, {},
            QPoint(keys.contains("click right") ? rowEnd.x() : 3,
                keys.contains("below") ? 5 + box()->characterRect(0).height() : 5));
        QTest::keySequence(box(), QKeySequence(keys.section('@', 0, 0).trimmed()));
        for (int click = 0; click < 2 && keys.contains("triple"); ++click)
            click ? QTest::mouseClick(view, Qt::LeftButton, {}, rowStart)
                  : QTest::mouseDClick(view, Qt::LeftButton, {}, rowStart);
        const auto button = keys.contains("drag") ? Qt::LeftButton : Qt::RightButton;
        QMouseEvent move(QEvent::MouseMove, rowEnd, view->mapToGlobal(rowEnd), {}, button, {});
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, button, {}, rowStart);
        const int caret = reader()->cursorPosition();
        reader()->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
        const auto [from, to] = box()->caret().selection();
        QCOMPARE(QString::asprintf("%g %g %g %g %g", caret / row, from / row, to / row, start / row,
                     box()->verticalScrollBar()->value() / page),
            seen.replace("P", QString::number(page)));
        // A reader was told so, and the caret blinks on the line it reads there.
        QCOMPARE(toldCaret, QList({ caret, int(from), int(to) }));
        const QRect line = box()->characterRect(start);
        const QRect caretRow(0, line.top(), view->width(), line.height());
        QImage blinked = shown(view, caretRow);
        for (int change = 0; change < 2; ++change, blinked = shown(view, caretRow))
            QTRY_VERIFY(shown(view, caretRow) != blinked);
        QTRY_COMPARE(shown(view, caretRow), blinked);
    }

    // A drag held below the view scrolls, selecting to the edge row; the menu by keys and mouse.
    void dragAndMenu()
    {
        box()->setText(QString("142857").repeated(1000));
        QWidget *view = box()->viewport();
        const QPoint start(3, 5), below(3, view->height() + 20);
        QTest::mousePress(view, Qt::LeftButton, {}, start);
        QMouseEvent drag(
            QEvent::MouseMove, below, view->mapToGlobal(below), {}, Qt::LeftButton, {});
        QApplication::sendEvent(view, &drag);
        QTRY_VERIFY(box()->verticalScrollBar()->value() >= 3);
        QTest::mouseRelease(view, Qt::LeftButton, {}, below);
        const QRect caret = box()->characterRect(box()->caret().position());
        QVERIFY(
            view->rect().contains(caret) && caret.bottom() > view->height() - 3 * caret.height());
        QList<QPoint> menus;
        for (int way = 0; way < 3; ++way) {
            QTimer::singleShot(0, [&] {
                if (QWidget *menu = QApplication::activePopupWidget())
                    menus << view->mapFromGlobal(menu->pos()), menu->close();
            });
            QContextMenuEvent menuKey(way ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard,
                start, view->mapToGlobal(start));
            way == 1 ? QTest::keyClick(box(), Qt::Key_F10, Qt::ShiftModifier)
                     : void(QApplication::sendEvent(view, &menuKey));
        }
        const QPoint underCaret = caret.bottomLeft() + QPoint(0, 1);
        QCOMPARE(menus, QList({ underCaret, underCaret, start }));
    }

    // What assistive technology reads at an offset, as "start end text".
    void readAloud_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("seen");
        const QString message = "Chybné zadání => dělení nulou", lines = "0,625\r\n67";
        for (const auto &[text, call, seen] : { std::tuple { message, "at word 2", "0 6 Chybné" },
                 { message, "before word 0", "-1 -1 " }, { " 0,5", "at word 0", "0 1  " },
                 { "0,1428571", "before word 8", "5 8 857" }, { "12345,6", "at word 2", "2 5 345" },
                 { "12345,6", "at word 1", "0 2 12" }, { "0,625", "at none 1", "0 5 0,625" },
                 { "Jedna věta. Druhá.", "at sentence 14", "12 18 Druhá." },
                 { lines, "at paragraph 1", "0 7 0,625\r\n" }, { lines, "at line 9", "7 9 67" },
                 { lines, "at paragraph 9", "7 9 67" }, { "0,625\r\n", "at paragraph 7", "7 7 " },
                 { "0,625", "at word 5", "-1 -1 " }, { "0,625", "at word 2147483647", "-1 -1 " },
                 { "0,625", "before char -1", "-1 -1 " },
                 { "0,625\r\n", "before paragraph 7", "0 7 0,625\r\n" },
                 { "a😀b", "at char 2", "1 3 😀" } })
            QTest::newRow(call) << text << call << seen;
    }
    void readAloud()
    {
        QFETCH(QString, text);
        QFETCH(QString, call);
        box()->setText(text);
        const QStringList words = call.split(' ');
        const auto boundary = QAccessible::TextBoundaryType(
            QStringList({ "char", "word", "sentence", "paragraph", "line", "none" })
                .indexOf(words[1]));
        int start = 0, end = 0, offset = words[2].toInt();
        const QString read = words[0] == "at"
            ? reader()->textAtOffset(offset, boundary, &start, &end)
            : reader()->textBeforeOffset(offset, boundary, &start, &end);
        QTEST(QString("%1 %2 %3").arg(start).arg(end).arg(read), "seen");
    }
};

QTEST_MAIN(ResultBoxTest)
#include "ResultBoxTest.moc"
