#include "ResultBox.h"

#include "Rows.h"

#include <QAccessible>
#include <QClipboard>
#include <QMimeData>
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

} // namespace

class ResultBoxTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ResultBox> m_box;

    ResultBox *box() const { return m_box.get(); }
    QWidget *view() const { return m_box->viewport(); }
    auto *reader() const { return QAccessible::queryAccessibleInterface(box())->textInterface(); }
    // The middle of the character at `offset`, or right of the row's end for `offset` -1.
    QPoint at(int offset) const
    {
        return offset < 0 ? QPoint(view()->width() - 3, box()->characterRect(0).center().y())
                          : box()->characterRect(offset).center();
    }

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

    void keys_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("selected");
        const QString result = "0,12345\r\n67";
        row("Right", result, "Right, Right", 2, "");
        row("Shift+Left", result, "Right, Right, Shift+Left, Shift+Left", 0, "0,");
        row("Shift+End", result, "Shift+End", 7, "0,12345");
        row("Shift+Up from the end", result, "Ctrl+End, Shift+Left, Shift+Up", 1, ",12345\r\n67");
        row("Ctrl+Right over a number", result, "Ctrl+Right", 7, "");
        row("Ctrl+Shift+Left over a number", result, "End, Ctrl+Shift+Left", 0, "0,12345");
        row("Down and Up keep the column", result, "End, Down, Up", 7, "");
        row("Up on the first row", result, "Right, Right, Right, Up", 3, "");
        row("Down on the last row", result, "Ctrl+End, Left, Down", 10, "");
        row("Left from a row start skips CR LF", result, "Down, Home, Left", 7, "");
        row("Right at a row end skips CR LF", result, "End, Right", 9, "");
        row("Right over a surrogate pair", "a😀b", "Right, Right", 3, "");
        row("Shift+Left over a surrogate pair", "a😀b", "End, Left, Shift+Left", 1, "😀");
        row("Ctrl+Right over a surrogate pair", "😀😀 b", "Ctrl+Right", 5, "");
        row("Ctrl+A", result, "Ctrl+A", 11, result);
    }
    void keys()
    {
        QFETCH(QString, text);
        QFETCH(QString, keys);
        box()->setText(text);
        QTest::keySequence(box(), QKeySequence(keys));
        QTEST(int(box()->caret().position()), "caret");
        QTEST(box()->selectedText(), "selected");
        QTEST(reader()->cursorPosition(), "caret");
    }

    // Double clicks select the word they hit; right of a row's end, the one before it.
    void doubleClick_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("selected");
        row("the first digit", 0, "0,12345");
        row("right of the row", -1, "0,12345");
        row("the second row", 9, "67");
    }
    void doubleClick()
    {
        QFETCH(int, offset);
        box()->setText("0,12345\r\n67");
        QTest::mouseDClick(view(), Qt::LeftButton, {}, at(offset));
        QTEST(box()->selectedText(), "selected");
    }

    // After a double click on a number, held or pressed again.
    void afterADoubleClick_data()
    {
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("selected");
        row("a press at the same place selects the row", "press", "0,12345 67");
        row("a press further away places the caret", "press away", "");
        row("a move of a pixel keeps the number", "move a pixel", "0,12345");
        row("a move past it extends it", "move on", "0,12345 6");
    }
    void afterADoubleClick()
    {
        QFETCH(QString, then);
        box()->setText("0,12345 67");
        const QPoint number = at(3);
        QTest::mouseDClick(view(), Qt::LeftButton, {}, number);
        const QPoint to = then == "press away" || then == "move on" ? at(9) : number + QPoint(1, 0);
        if (then.startsWith("press")) {
            QTest::mouseClick(view(), Qt::LeftButton, {}, to);
        } else {
            QMouseEvent move(
                QEvent::MouseMove, to, view()->mapToGlobal(to), {}, Qt::LeftButton, {});
            QApplication::sendEvent(view(), &move);
            QTest::mouseRelease(view(), Qt::LeftButton, {}, to);
        }
        QTEST(box()->selectedText(), "selected");
    }

    // What was copied stays as it was when a new result comes, and goes out as UTF-8 bytes.
    void copy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("appended");
        QTest::addColumn<QByteArray>("bytes");
        row("digits", "0,", "125", QByteArray("0,125"));
        row("a letter outside Latin-1 before", "π≈", "31",
            QByteArray("\xCF\x80\xE2\x89\x88"
                       "31"));
        row("a Latin-1 letter appended", "0,", "é1",
            QByteArray("0,\xC3\xA9"
                       "1"));
    }
    void copy()
    {
        QFETCH(QString, text);
        QFETCH(QString, appended);
        box()->setText(text);
        box()->append(appended);
        QTest::keySequence(box(), QKeySequence::SelectAll);
        QTest::keySequence(box(), QKeySequence::Copy);
        box()->setText("7");
        QCOMPARE(QGuiApplication::clipboard()->text(), text + appended);
        QTEST(QGuiApplication::clipboard()->mimeData()->data("text/plain"), "bytes");
    }

    // A reader's one selection, index 0, read and set; what is outside the text is refused.
    void readerSelection_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("selected");
        row("the one selection", 0, 2, 5, "123");
        row("ending at offset 0", 0, 3, 0, "0,1");
        row("to the end", 0, 7, 11, "\r\n67");
        row("a second one", 1, 2, 5, "");
        row("before the text", 0, -1, 5, "");
        row("past the end", 0, 2, 12, "");
    }
    void readerSelection()
    {
        QFETCH(int, index);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, selected);
        box()->setText("0,12345\r\n67");
        reader()->setSelection(index, start, end);
        QCOMPARE(box()->selectedText(), selected);
        int from = -1, to = -1;
        reader()->selection(0, &from, &to);
        QCOMPARE(reader()->selectionCount(), selected.isEmpty() ? 0 : 1);
        QCOMPARE(to - from, selected.size());
        reader()->removeSelection(0);
        QCOMPARE(box()->selectedText(), "");
    }

    // The caret a reader sets, at the first and the last place: nothing is selected then.
    void readerCaret_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("caret");
        row("the first place", 0, 0);
        row("the last place", 11, 11);
        row("one past it", 12, 3);
        row("before the first", -1, 3);
    }
    void readerCaret()
    {
        QFETCH(int, offset);
        box()->setText("0,12345\r\n67");
        box()->select(1, 3);
        reader()->setCursorPosition(offset);
        QTEST(int(box()->caret().position()), "caret");
        int from = -1, to = -1;
        reader()->selection(0, &from, &to);
        QCOMPARE(to - from, offset == 0 || offset == 11 ? 0 : 2);
    }

    // What assistive technology reads at an offset, as "start end text".
    void readAloud_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("seen");
        const QString message = "Chybné zadání => dělení nulou", lines = "0,625\r\n67";
        row("a word", message, "at word 2", "0 6 Chybné");
        row("no word before the first", message, "before word 0", "-1 -1 ");
        row("blanks", " 0,5", "at word 0", "0 1  ");
        row("digits in groups of three", "0,1428571", "before word 8", "5 8 857");
        row("the group after the comma", "0,1428571", "at word 2", "2 5 142");
        row("the whole part grouped from the comma", "12345,6", "at word 2", "2 5 345");
        row("its first group", "12345,6", "at word 1", "0 2 12");
        row("no boundary", "0,625", "at none 1", "0 5 0,625");
        row("a sentence", "Jedna věta. Druhá.", "at sentence 14", "12 18 Druhá.");
        row("a paragraph", lines, "at paragraph 1", "0 7 0,625\r\n");
        row("a line", lines, "at line 9", "7 9 67");
        row("the last paragraph", lines, "at paragraph 9", "7 9 67");
        row("the empty last paragraph", "0,625\r\n", "at paragraph 7", "7 7 ");
        row("no word at the end", "0,625", "at word 5", "-1 -1 ");
        row("INT_MAX", "0,625", "at word 2147483647", "-1 -1 ");
        row("before -1", "0,625", "before char -1", "-1 -1 ");
        row("the paragraph before the end", "0,625\r\n", "before paragraph 7", "0 7 0,625\r\n");
        row("a surrogate pair is one character", "a😀b", "at char 2", "1 3 😀");
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

    // Ink at the last character after Ctrl+End, none past it, the first row after a reader's
    // scroll; after relayouts, and appends shown while they go on.
    void ink_data()
    {
        QTest::addColumn<QString>("change");
        row("none", "none");
        row("narrower", "narrower");
        row("larger font", "larger font");
        row("appends", "appends");
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
        QTest::keyClick(box(), Qt::Key_End, Qt::ControlModifier);
        const QRect last = box()->characterRect(box()->length() - 1);
        QVERIFY(view()->rect().adjusted(0, 0, 0, -2).contains(last)); // above the bottom margin
        QTRY_VERIFY(inked(view(), last));
        QTRY_VERIFY(!inked(view(), { last.right() + 4, last.top(), 40, 40 }));
        box()->clearFocus(); // so no blink repaints what a scroll alone must
        QCoreApplication::processEvents();
        change == "appends" ? reader()->setCursorPosition(0) : reader()->scrollToSubstring(0, 1);
        QVERIFY(view()->rect().contains(box()->characterRect(0)));
        QTRY_COMPARE(shown(view(), view()->rect()),
            view()->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // A bar over the last three characters of the first row and the first three of the next.
    void bar()
    {
        box()->setText(QString(2000, '8'));
        const QFontMetrics metrics(box()->font());
        const QRect first = box()->characterRect(0);
        const qsizetype from = box()->offsetAt({ 0, first.bottom() + first.height() / 2 }) - 3;
        box()->setOverline(from, 6);
        for (qsizetype offset = from - 1; offset <= from + 6; ++offset) {
            const QRect glyph = box()->characterRect(offset);
            const QRect above(glyph.left() + 1, glyph.top(), glyph.width() - 2,
                metrics.ascent() - metrics.capHeight());
            QTRY_COMPARE(inked(view(), above), offset >= from && offset < from + 6);
        }
    }

    // Digits appended and copied as a run writes them, across the blocks the text is kept in; laid
    // out a row at a time, they take the rows a layout of one character at a time gives them.
    void digitsOfARun()
    {
        box()->setText("0,");
        box()->appendDigits("1428571");
        box()->appendRepeated(6, 5'000'000);
        const QString period = QString("142857").repeated(3);
        for (const qsizetype at : { 0, 2097140, 4194290, 5000000 })
            QCOMPARE(box()->content().mid(2 + at, 7), period.mid(at % 6, 7).left(5'000'007 - at));
        ResultBox oneAtATime;
        oneAtATime.resize(box()->size());
        oneAtATime.setText(box()->text() + "x");
        oneAtATime.show();
        QVERIFY(QTest::qWaitForWindowExposed(&oneAtATime));
        const WrappedRows &rows = box()->control().rows(), &each = oneAtATime.control().rows();
        QCOMPARE(rows.rowCount(), each.rowCount());
        for (qsizetype row = 0; row < rows.rowCount(); row += 997)
            QCOMPARE(rows.rowStart(row), each.rowStart(row));
        QCOMPARE(rows.rowOf(5'000'008), each.rowOf(5'000'008));
    }

    // One append is shown by one repaint, and the box is quiet afterwards.
    void oneRepaintForAnAppend()
    {
        box()->clearFocus();
        QTest::qWait(50);
        PaintCounter counter;
        view()->installEventFilter(&counter);
        box()->append(u"123");
        QTRY_COMPARE(counter.paints, 1);
        QTest::qWait(100);
        QCOMPARE(counter.paints, 1);
    }

    // On rows of digits, after a click at the first row's start or end or the second's start: the
    // caret, the selection, the reader's line and the first row in view, in rows (-1: a page).
    void rowEdges_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("rows");
        row("End twice", "End, End", QList { 1, 1, 1, 0, 0 });
        row("End, then Home", "End, Home", QList { 0, 0, 0, 0, 0 });
        row("Shift+End", "Shift+End", QList { 1, 0, 1, 0, 0 });
        row("Shift+End, Shift+Home", "Shift+End, Shift+Home", QList { 0, 0, 0, 0, 0 });
        row("End, then Down", "End, Down", QList { 2, 2, 2, 1, 0 });
        row("Down, End, Up", "Down, End, Up", QList { 1, 1, 1, 0, 0 });
        row("End, Right, Left", "End, Right, Left", QList { 1, 1, 1, 1, 0 });
        row("Page Down", "PgDown", QList { -1, -1, -1, -1, 1 });
        row("a click right of the row", "@click right", QList { 1, 1, 1, 0, 0 });
        row("a click at the next row", "@click below", QList { 1, 1, 1, 1, 0 });
        row("a drag to the row's end", "@drag", QList { 1, 0, 1, 0, 0 });
        row("the right button keeps the caret", "End @right button", QList { 1, 1, 1, 0, 0 });
        row("a triple click", "@triple click", QList { 1, 0, 1, 1, 0 });
    }
    void rowEdges()
    {
        QFETCH(QString, keys);
        QFETCH(QList<int>, rows);
        box()->setText(QString("142857").repeated(1000));
        int start = 0, end = 0;
        reader()->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
        const int row = end, page = box()->verticalScrollBar()->pageStep();
        const QPoint rowStart(3, 5), rowEnd(view()->width() - 3, 5);
        QTest::mouseClick(view(), Qt::LeftButton, {},
            QPoint(keys.contains("click right") ? rowEnd.x() : 3,
                keys.contains("below") ? 5 + box()->characterRect(0).height() : 5));
        QTest::keySequence(box(), QKeySequence(keys.section('@', 0, 0).trimmed()));
        if (keys.contains("triple")) {
            QTest::mouseDClick(view(), Qt::LeftButton, {}, rowStart);
            QTest::mouseClick(view(), Qt::LeftButton, {}, rowStart);
        }
        const auto button = keys.contains("drag") ? Qt::LeftButton : Qt::RightButton;
        QMouseEvent move(QEvent::MouseMove, rowEnd, view()->mapToGlobal(rowEnd), {}, button, {});
        QApplication::sendEvent(view(), &move);
        QTest::mouseRelease(view(), button, {}, rowStart);
        for (int &edge : rows)
            edge = edge < 0 ? page : edge;
        const int caret = reader()->cursorPosition();
        reader()->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
        const auto [from, to] = box()->caret().selection();
        QCOMPARE(caret, rows[0] * row);
        QCOMPARE(from, rows[1] * row);
        QCOMPARE(to, rows[2] * row);
        QCOMPARE(start, rows[3] * row);
        QCOMPARE(box()->verticalScrollBar()->value(), rows[4] * page);
        // A reader was told so, and the caret blinks on the line it reads there.
        QCOMPARE(toldCaret, QList({ caret, int(from), int(to) }));
        const QRect line = box()->characterRect(start);
        const QRect caretRow(0, line.top(), view()->width(), line.height());
        QImage blinked = shown(view(), caretRow);
        for (int change = 0; change < 2; ++change, blinked = shown(view(), caretRow))
            QTRY_VERIFY(shown(view(), caretRow) != blinked);
    }

    // A drag held below the view scrolls, selecting to the edge row; the menu by keys and mouse.
    void dragAndMenu()
    {
        box()->setText(QString("142857").repeated(1000));
        const QPoint start(3, 5), below(3, view()->height() + 20);
        QTest::mousePress(view(), Qt::LeftButton, {}, start);
        QMouseEvent drag(
            QEvent::MouseMove, below, view()->mapToGlobal(below), {}, Qt::LeftButton, {});
        QApplication::sendEvent(view(), &drag);
        QTRY_VERIFY(box()->verticalScrollBar()->value() >= 3);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, below);
        const QRect caret = box()->characterRect(box()->caret().position());
        QVERIFY(view()->rect().contains(caret));
        QVERIFY(caret.bottom() > view()->height() - 3 * caret.height());
        QList<QPoint> menus;
        const auto closeMenu = [&] {
            QWidget *menu = QApplication::activePopupWidget();
            menus << (menu ? view()->mapFromGlobal(menu->pos()) : QPoint(-1, -1));
            if (menu)
                menu->close();
        };
        QTimer::singleShot(0, closeMenu);
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, start, view()->mapToGlobal(start));
        QApplication::sendEvent(view(), &menuKey);
        QTimer::singleShot(0, closeMenu);
        QTest::keyClick(box(), Qt::Key_F10, Qt::ShiftModifier);
        QTimer::singleShot(0, closeMenu);
        QContextMenuEvent click(QContextMenuEvent::Mouse, start, view()->mapToGlobal(start));
        QApplication::sendEvent(view(), &click);
        const QPoint underCaret = caret.bottomLeft() + QPoint(0, 1);
        QCOMPARE(menus, QList({ underCaret, underCaret, start }));
    }
};

QTEST_MAIN(ResultBoxTest)
#include "ResultBoxTest.moc"
