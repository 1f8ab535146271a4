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

} // namespace

class ResultBoxTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ResultBox> m_box;

    ResultBox *box() const { return m_box.get(); }
    QWidget *view() const { return m_box->viewport(); }
    auto *reader() const { return QAccessible::queryAccessibleInterface(box())->textInterface(); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }

private slots:
    void initTestCase() { hear(true); }
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
        row("Ctrl+Shift+Left over a number", result, "End, Ctrl+Shift+Left", 0, "0,12345");
        row("Down and Up keep the column", result, "End, Down, Up", 7, "");
        row("Up on the first row", result, "Right, Right, Right, Up", 3, "");
        row("Down on the last row", result, "Ctrl+End, Left, Down", 10, "");
        row("Left from a row start skips CR LF", result, "Down, Home, Left", 7, "");
        row("Shift+Left over a surrogate pair", pair, "End, Left, Shift+Left", 1, "😀");
        row("Ctrl+Right over surrogate pairs", "😀😀 b", "Ctrl+Right", 5, "");
    }
    void keys()
    {
        QFETCH(QString, text);
        QFETCH(QString, keys);
        box()->setText(text);
        QTest::keySequence(box(), QKeySequence(keys));
        QTEST(int(box()->caret().position()), "caret");
        QTEST(box()->selectedText(), "selected");
    }

    // A double click at a character, then a press or a held move at another (or a pixel aside).
    void clicks_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("selected");
        row("a third click there selects the row", 3, "press", 3, "0,12345 67");
        row("one further away places the caret", 3, "press", 9, "");
        row("one after the double-click time places the caret", 3, "late press", 3, "");
        row("a move of a pixel keeps the number", 3, "move", 3, "0,12345");
        row("a move past it extends it", 3, "move", 9, "0,12345 6");
    }
    void clicks()
    {
        QFETCH(int, at);
        QFETCH(QString, then);
        QFETCH(int, to);
        box()->setText("0,12345 67");
        QTest::mouseDClick(view(), Qt::LeftButton, {}, box()->characterRect(at).center());
        const QPoint point = box()->characterRect(to).center() + QPoint(to == at, 0);
        if (then == "late press")
            QTest::qWait(QApplication::doubleClickInterval() + 100);
        if (then.endsWith("press"))
            QTest::mouseClick(view(), Qt::LeftButton, {}, point);
        if (then == "move") {
            QMouseEvent held(
                QEvent::MouseMove, point, view()->mapToGlobal(point), {}, Qt::LeftButton, {});
            QApplication::sendEvent(view(), &held);
        }
        QTest::mouseRelease(view(), Qt::LeftButton, {}, point);
        QTEST(box()->selectedText(), "selected");
    }

    // What was copied stays as it was when a new result comes, and goes out as UTF-8 bytes: the
    // letters before the appended ones and an appended Latin-1 letter alike.
    void copy()
    {
        box()->setText("π≈");
        box()->append(u"é1");
        QTest::keySequence(box(), QKeySequence("Ctrl+A, Ctrl+C"));
        box()->setText("7");
        QCOMPARE(QGuiApplication::clipboard()->text(), "π≈é1");
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("text/plain"), QByteArray("π≈é1"));
    }

    // A reader's one selection, index 0, set and read; the rest is refused.
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
    }
    void readerSelection()
    {
        QFETCH(int, index);
        QFETCH(int, start);
        QFETCH(int, end);
        box()->setText("0,12345\r\n67");
        box()->select(2, 3);
        reader()->setSelection(index, start, end);
        QTEST(box()->selectedText(), "selected");
        QTEST(reader()->cursorPosition(), "caret");
        int from = -1, to = -1;
        reader()->selection(0, &from, &to);
        QCOMPARE(reader()->selectionCount(), 1);
        QTEST(box()->text().mid(from, to - from), "selected");
    }

    // What assistive technology reads at an offset, as "start end text".
    void readAloud_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("boundary");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("seen");
        row("blanks", " 0,5", "word", 0, "0 1  ");
        row("digits in groups of three", "0,1428571", "word", 6, "5 8 857");
        row("the group after the comma", "0,1428571", "word", 2, "2 5 142");
        row("the whole part grouped from the comma", "12345,6", "word", 2, "2 5 345");
        row("a sentence", "Jedna věta. Druhá.", "sentence", 14, "12 18 Druhá.");
        row("the last paragraph", "0,625\r\n67", "paragraph", 9, "7 9 67");
        row("the empty last paragraph", "0,625\r\n", "paragraph", 7, "7 7 ");
        row("INT_MAX", "0,625", "word", INT_MAX, "-1 -1 ");
        row("no character at -1", "0,625", "char", -1, "-1 -1 ");
        row("a surrogate pair is one character", "a😀b", "char", 2, "1 3 😀");
    }
    void readAloud()
    {
        QFETCH(QString, text);
        QFETCH(QString, boundary);
        QFETCH(int, offset);
        box()->setText(text);
        const auto type = QAccessible::TextBoundaryType(
            QStringList({ "char", "word", "sentence", "paragraph" }).indexOf(boundary));
        int start = 0, end = 0;
        const QString read = reader()->textAtOffset(offset, type, &start, &end);
        QTEST(QString("%1 %2 %3").arg(start).arg(end).arg(read), "seen");
    }

    // Ink at the last character after Ctrl+End, none past it, the first row after a reader's
    // scroll; after a relayout, and appends shown while they go on, each with one repaint.
    void ink_data()
    {
        QTest::addColumn<QString>("change");
        row("narrower", "narrower");
        row("appends", "appends");
    }
    void ink()
    {
        QFETCH(QString, change);
        box()->setText(QString(change == "appends" ? 0 : 2000, '8'));
        if (change == "narrower")
            box()->resize(box()->width() / 2, box()->height());
        QScrollBar *bar = box()->verticalScrollBar();
        while (bar->maximum() == 0) {
            box()->append(u"8888888888");
            QTRY_COMPARE(toldText, box()->text());
        }
        QTest::keyClick(box(), Qt::Key_End, Qt::ControlModifier);
        const QRect last = box()->characterRect(box()->length() - 1);
        QVERIFY(view()->rect().adjusted(0, 0, 0, -2).contains(last)); // above the bottom margin
        QTRY_VERIFY(inked(view(), last));
        QTRY_VERIFY(!inked(view(), { last.right() + 4, last.top(), 40, 40 }));
        box()->clearFocus(); // so no blink repaints what a scroll alone must
        QCoreApplication::processEvents();
        reader()->scrollToSubstring(0, 1);
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

    // A page turns the view with the caret, which keeps its place in the view.
    void pages_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("key");
        row("Page Down", "", "PgDown");
        row("Page Up after two pages down", "PgDown, PgDown", "PgUp");
    }
    void pages()
    {
        QFETCH(QString, before);
        QFETCH(QString, key);
        box()->setText(QString("142857").repeated(1000));
        QTest::keySequence(box(), QKeySequence(before));
        const QRect place = box()->characterRect(box()->caret().position());
        const int top = box()->verticalScrollBar()->value();
        QTest::keySequence(box(), QKeySequence(key));
        QCOMPARE(box()->characterRect(box()->caret().position()), place);
        QVERIFY(box()->verticalScrollBar()->value() != top);
    }

    // On rows of digits, after keys or a click right of the first row, the caret, the selection and
    // the reader's line, in rows: a caret at the end of a row that wraps is read there.
    void rowEdges_data()
    {
        QTest::addColumn<bool>("clickRight");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("rows");
        row("End twice", false, "End, End", QList { 1, 1, 1, 0 });
        row("Shift+End", false, "Shift+End", QList { 1, 0, 1, 0 });
        row("End, then Down", false, "End, Down", QList { 2, 2, 2, 1 });
        row("End, Right, Left", false, "End, Right, Left", QList { 1, 1, 1, 1 });
        row("a click right of the row", true, "", QList { 1, 1, 1, 0 });
    }
    void rowEdges()
    {
        QFETCH(bool, clickRight);
        QFETCH(QString, keys);
        box()->setText(QString("142857").repeated(1000));
        int start = 0, end = 0;
        reader()->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
        const int row = end;
        if (clickRight)
            QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(view()->width() - 3, 5));
        QTest::keySequence(box(), QKeySequence(keys));
        const int caret = reader()->cursorPosition();
        reader()->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
        const auto [from, to] = box()->caret().selection();
        QTEST(QList({ caret / row, int(from) / row, int(to) / row, start / row }), "rows");
        // A reader was told so.
        QCOMPARE(toldCaret, QList({ caret, int(from), int(to) }));
    }
};

QTEST_MAIN(ResultBoxTest)
#include "ResultBoxTest.moc"
