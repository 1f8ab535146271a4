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
    const QImage window = widget->screen()->grabWindow(widget->window()->winId()).toImage();
    return window
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
int paints = 0;

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

void move(QWidget *view, QPoint to, Qt::MouseButtons buttons)
{
    QMouseEvent event(QEvent::MouseMove, to, view->mapToGlobal(to), {}, buttons, {});
    QApplication::sendEvent(view, &event);
}

} // namespace

class ResultBoxTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ResultBox> m_box;

    ResultBox *box() const { return m_box.get(); }
    QWidget *view() const { return m_box->viewport(); }
    auto *reader() const { return QAccessible::queryAccessibleInterface(box())->textInterface(); }
    // The middle of the character at `offset`, or right of the first row's end for -1.
    QPoint at(int offset) const
    {
        return offset < 0 ? QPoint(view()->width() - 3, box()->characterRect(0).center().y())
                          : box()->characterRect(offset).center();
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
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
        const QString result = "0,12345\r\n67", pair = "a😀b";
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
        row("Right over a surrogate pair", pair, "Right, Right", 3, "");
        row("Shift+Left over a surrogate pair", pair, "End, Left, Shift+Left", 1, "😀");
        row("Ctrl+Right over surrogate pairs", "😀😀 b", "Ctrl+Right", 5, "");
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

    // A double click at a character (-1: right of the first row), then a press or a held move.
    void clicks_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("selected");
        row("a double click selects the number", 3, "", 0, "0,12345");
        row("right of a row, the word before", -1, "", 0, "67");
        row("a third click there selects the row", 3, "press", 3, "0,12345 67");
        row("one further away places the caret", 3, "press", 9, "");
        row("a move of a pixel keeps the number", 3, "move", 3, "0,12345");
        row("a move past it extends it", 3, "move", 9, "0,12345 6");
    }
    void clicks()
    {
        QFETCH(int, at);
        QFETCH(QString, then);
        QFETCH(int, to);
        box()->setText("0,12345 67");
        QTest::mouseDClick(view(), Qt::LeftButton, {}, this->at(at));
        const QPoint point = this->at(to) + QPoint(to == at, 0);
        if (then == "press")
            QTest::mouseClick(view(), Qt::LeftButton, {}, point);
        if (then == "move")
            move(view(), point, Qt::LeftButton);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, point);
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
        QTest::keySequence(box(), QKeySequence("Ctrl+A, Ctrl+C"));
        box()->setText("7");
        QCOMPARE(QGuiApplication::clipboard()->text(), text + appended);
        QTEST(QGuiApplication::clipboard()->mimeData()->data("text/plain"), "bytes");
    }

    // A reader's one selection, index 0, or its caret (start == end) set; the rest is refused.
    void readerSelection_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("caret");
        row("the one selection", 0, 2, 5, "123", 5);
        row("ending at offset 0", 0, 3, 0, "0,1", 0);
        row("to the end", 0, 7, 11, "\r\n67", 11);
        row("a second one", 1, 2, 5, "1", 3);
        row("before the text", 0, -1, 5, "1", 3);
        row("past the end", 0, 2, 12, "1", 3);
        row("the caret at the first place", 0, 0, 0, "", 0);
        row("the caret at the last place", 0, 11, 11, "", 11);
        row("the caret past it", 0, 12, 12, "1", 3);
    }
    void readerSelection()
    {
        QFETCH(int, index);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, selected);
        box()->setText("0,12345\r\n67");
        box()->select(2, 3);
        start == end ? reader()->setCursorPosition(start)
                     : reader()->setSelection(index, start, end);
        QCOMPARE(box()->selectedText(), selected);
        QTEST(reader()->cursorPosition(), "caret");
        int from = -1, to = -1;
        reader()->selection(0, &from, &to);
        QCOMPARE(reader()->selectionCount(), selected.isEmpty() ? 0 : 1);
        QCOMPARE(to - from, selected.size());
        reader()->removeSelection(0);
        QCOMPARE(box()->selectedText(), "");
    }

    // What assistive technology reads at an offset, as "start end text".
    void readAloud_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("boundary");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("seen");
        const QString message = "Chybné zadání => dělení nulou", lines = "0,625\r\n67";
        row("a word", message, "word", 2, "0 6 Chybné");
        row("no word before the first", message, "word before", 0, "-1 -1 ");
        row("blanks", " 0,5", "word", 0, "0 1  ");
        row("digits in groups of three", "0,1428571", "word before", 8, "5 8 857");
        row("the group after the comma", "0,1428571", "word", 2, "2 5 142");
        row("the whole part grouped from the comma", "12345,6", "word", 2, "2 5 345");
        row("its first group", "12345,6", "word", 1, "0 2 12");
        row("no boundary", "0,625", "none", 1, "0 5 0,625");
        row("a sentence", "Jedna věta. Druhá.", "sentence", 14, "12 18 Druhá.");
        row("a paragraph", lines, "paragraph", 1, "0 7 0,625\r\n");
        row("a line", lines, "line", 9, "7 9 67");
        row("the last paragraph", lines, "paragraph", 9, "7 9 67");
        row("the empty last paragraph", "0,625\r\n", "paragraph", 7, "7 7 ");
        row("no word at the end", "0,625", "word", 5, "-1 -1 ");
        row("INT_MAX", "0,625", "word", INT_MAX, "-1 -1 ");
        row("no character before -1", "0,625", "char before", -1, "-1 -1 ");
        row("the paragraph before the end", "0,625\r\n", "paragraph before", 7, "0 7 0,625\r\n");
        row("a surrogate pair is one character", "a😀b", "char", 2, "1 3 😀");
    }
    void readAloud()
    {
        QFETCH(QString, text);
        QFETCH(QString, boundary);
        QFETCH(int, offset);
        box()->setText(text);
        const auto type = QAccessible::TextBoundaryType(
            QStringList({ "char", "word", "sentence", "paragraph", "line", "none" })
                .indexOf(boundary.section(' ', 0, 0)));
        int start = 0, end = 0;
        const QString read = boundary.endsWith("before")
            ? reader()->textBeforeOffset(offset, type, &start, &end)
            : reader()->textAtOffset(offset, type, &start, &end);
        QTEST(QString("%1 %2 %3").arg(start).arg(end).arg(read), "seen");
    }

    // Ink at the last character after Ctrl+End, none past it, the first row after a reader's
    // scroll; after relayouts, and appends shown while they go on, each with one repaint.
    void ink_data()
    {
        QTest::addColumn<QString>("change");
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
        while (bar->maximum() == 0) {
            box()->append(u"8888888888");
            QTRY_COMPARE(toldText, box()->text());
        }
        QCOMPARE(bar->value() == bar->maximum(), change == "appends");
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
        view()->installEventFilter(this);
        paints = 0;
        box()->append(u"8");
        QTest::qWait(100);
        QCOMPARE(paints, 1);
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

    // On rows of digits, after a click at the first row's start or end or the second's start: the
    // caret, the selection, the reader's line and the first row in view, in rows (-1: a page).
    void rowEdges_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("mouse");
        QTest::addColumn<QList<int>>("rows");
        row("End twice", "End, End", "", QList { 1, 1, 1, 0, 0 });
        row("End, then Home", "End, Home", "", QList { 0, 0, 0, 0, 0 });
        row("Shift+End", "Shift+End", "", QList { 1, 0, 1, 0, 0 });
        row("Shift+End, Shift+Home", "Shift+End, Shift+Home", "", QList { 0, 0, 0, 0, 0 });
        row("End, then Down", "End, Down", "", QList { 2, 2, 2, 1, 0 });
        row("Down, End, Up", "Down, End, Up", "", QList { 1, 1, 1, 0, 0 });
        row("End, Right, Left", "End, Right, Left", "", QList { 1, 1, 1, 1, 0 });
        row("Page Down", "PgDown", "", QList { -1, -1, -1, -1, 1 });
        row("a click right of the row", "", "click right", QList { 1, 1, 1, 0, 0 });
        row("a click at the next row", "", "click below", QList { 1, 1, 1, 1, 0 });
        row("a drag to the row's end", "", "drag", QList { 1, 0, 1, 0, 0 });
        row("the right button keeps the caret", "End", "right button", QList { 1, 1, 1, 0, 0 });
        row("a triple click", "", "triple click", QList { 1, 0, 1, 1, 0 });
    }
    void rowEdges()
    {
        QFETCH(QString, keys);
        QFETCH(QString, mouse);
        QFETCH(QList<int>, rows);
        box()->setText(QString("142857").repeated(1000));
        int start = 0, end = 0;
        reader()->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
        const int row = end, page = box()->verticalScrollBar()->pageStep();
        const QPoint rowStart(3, 5), rowEnd(view()->width() - 3, 5);
        QTest::mouseClick(view(), Qt::LeftButton, {},
            QPoint(mouse == "click right" ? rowEnd.x() : 3,
                mouse == "click below" ? 5 + box()->characterRect(0).height() : 5));
        QTest::keySequence(box(), QKeySequence(keys));
        if (mouse == "triple click") {
            QTest::mouseDClick(view(), Qt::LeftButton, {}, rowStart);
            QTest::mouseClick(view(), Qt::LeftButton, {}, rowStart);
        }
        const auto button = mouse == "drag" ? Qt::LeftButton : Qt::RightButton;
        move(view(), rowEnd, button);
        QTest::mouseRelease(view(), button, {}, rowStart);
        const int caret = reader()->cursorPosition();
        reader()->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
        const auto [from, to] = box()->caret().selection();
        const auto rowsOf = [&](qsizetype offset) { return int(offset / row); };
        QList<int> edges = rows.mid(0, 4);
        for (int &edge : edges)
            edge = edge < 0 ? page : edge;
        QCOMPARE(QList({ rowsOf(caret), rowsOf(from), rowsOf(to), rowsOf(start) }), edges);
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
        move(view(), below, Qt::LeftButton);
        QTRY_VERIFY(box()->verticalScrollBar()->value() >= 3);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, below);
        const QRect caret = box()->characterRect(box()->caret().position());
        QVERIFY(view()->rect().contains(caret));
        QVERIFY(caret.bottom() > view()->height() - 3 * caret.height());
        QList<QPoint> menus;
        for (const auto how :
            { QContextMenuEvent::Keyboard, QContextMenuEvent::Other, QContextMenuEvent::Mouse }) {
            QTimer::singleShot(0, [&] {
                QWidget *menu = QApplication::activePopupWidget();
                menus << (menu ? view()->mapFromGlobal(menu->pos()) : QPoint(-1, -1));
                if (menu)
                    menu->close();
            });
            QContextMenuEvent event(how, start, view()->mapToGlobal(start));
            how == QContextMenuEvent::Other ? QTest::keyClick(box(), Qt::Key_F10, Qt::ShiftModifier)
                                            : void(QApplication::sendEvent(view(), &event));
        }
        const QPoint underCaret = caret.bottomLeft() + QPoint(0, 1);
        QCOMPARE(menus, QList({ underCaret, underCaret, start }));
    }
};

QTEST_MAIN(ResultBoxTest)
#include "ResultBoxTest.moc"
