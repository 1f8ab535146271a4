// Input: operations on the result box, each a byte followed by its arguments. A plain QString,
// caret and anchor follow along: the box holds the same text, selection and copied text, its keys
// never leave the caret inside a line break, and no accessible call with an offset in
// [-2, length + 2] reads outside the text.
#include "FuzzCheck.h"
#include "ResultBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace {

struct Input
{
    const std::uint8_t *data;
    std::size_t size;
    int next() { return size ? (--size, *data++) : 0; }
};

const QString alphabet = QStringLiteral("0123456789,-\r\n aé.😀");
// Keys that move the caret, then keys that select.
const QKeySequence::StandardKey keys[] = { QKeySequence::MoveToNextChar,
    QKeySequence::MoveToNextLine, QKeySequence::MoveToStartOfLine, QKeySequence::MoveToEndOfLine,
    QKeySequence::MoveToPreviousPage, QKeySequence::MoveToEndOfDocument, QKeySequence::Copy,
    QKeySequence::SelectPreviousChar, QKeySequence::SelectPreviousLine,
    QKeySequence::SelectEndOfLine, QKeySequence::SelectStartOfLine, QKeySequence::SelectNextPage,
    QKeySequence::SelectStartOfDocument };

ResultBox &theBox()
{
    static int argc = 1;
    static char name[] = "fuzz_result_box";
    static char *argv[] = { name, nullptr };
    static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    static ResultBox box;
    static const bool shown = (box.resize(313, 369), box.show(), offscreen);
    Q_UNUSED(shown);
    return box;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ResultBox &box = theBox();
    QAccessibleTextInterface &accessible
        = *QAccessible::queryAccessibleInterface(&box)->textInterface();
    QString plain = QStringLiteral("0,625\r\n");
    qsizetype anchor = 0, caret = 0;
    box.setText(plain);
    for (Input in { data, size }; in.size;) {
        const int operation = in.next() % 8;
        const int length = int(plain.size());
        auto offset = [&] {
            int value = 0;
            for (int byte = 0; byte < 3; ++byte)
                value = value << 8 | in.next();
            return value % (length + 5) - 2;
        };
        const int a = offset(), b = offset();
        auto inText = [length](int o) { return o >= 0 && o <= length; };
        if (operation == 0 || operation == 1) {
            QString text;
            for (int n = in.next(); n > 0; --n)
                text += alphabet.mid(in.next() % alphabet.size(), 1);
            // A run of digits as long as a few of the blocks the text is kept in.
            text += QString(in.next() * in.next() * 32, QChar(u'0' + std::abs(a) % 10));
            operation == 0 ? box.setText(text) : box.append(text);
            plain = operation == 0 ? text : plain + text;
            if (operation == 0)
                anchor = caret = 0;
        } else if (operation == 2) {
            const int which = in.next() % (std::size(keys) + 1);
            const QKeySequence::StandardKey key
                = which < int(std::size(keys)) ? keys[which] : QKeySequence::SelectAll;
            QKeyEvent press(QEvent::KeyPress, QKeySequence(key)[0].key(),
                QKeySequence(key)[0].keyboardModifiers());
            QCoreApplication::sendEvent(&box, &press);
            const bool selecting = which > 6;
            caret = box.caret().position();
            anchor = key == QKeySequence::SelectAll      ? 0
                : selecting || key == QKeySequence::Copy ? anchor
                                                         : caret;
            check(which == 6 || which == 13
                    || !(caret > 0 && caret < length
                        && ((plain[caret - 1] == u'\r' && plain[caret] == u'\n')
                            || (plain[caret - 1].isHighSurrogate()
                                && plain[caret].isLowSurrogate()))),
                "the caret never stands inside a line break or a surrogate pair");
            check(key != QKeySequence::Copy || anchor == caret
                    || QGuiApplication::clipboard()->text() == box.selectedText(),
                "Copy copies the selection");
        } else if (operation == 3) {
            accessible.setSelection(0, a, b);
            if (inText(a) && inText(b))
                anchor = a, caret = b;
        } else if (operation == 4) {
            accessible.setCursorPosition(a);
            if (inText(a))
                anchor = caret = a;
        } else if (operation == 5) {
            int start = 0, end = 0;
            const auto boundary = QAccessible::TextBoundaryType(in.next() % 6);
            const QString found = in.next() % 3 == 0
                ? accessible.textBeforeOffset(a, boundary, &start, &end)
                : in.next() % 2 ? accessible.textAtOffset(a, boundary, &start, &end)
                                : accessible.textAfterOffset(a, boundary, &start, &end);
            check(start < 0
                    ? found.isEmpty() && end < 0
                    : start <= end && end <= length && found == plain.mid(start, end - start),
                "a segment is the text between its offsets, or nothing");
            check(inText(a) || start < 0, "an offset outside the text gives nothing");
        } else if (operation == 6) {
            check(accessible.characterRect(a).isValid() == (a >= 0 && a < length),
                "only a character has a rectangle");
            check(accessible.text(a, b)
                    == plain.mid(std::clamp(a, 0, length),
                        std::clamp(b, std::clamp(a, 0, length), length) - std::clamp(a, 0, length)),
                "a range is cut to the text");
        } else {
            const QPointF at(a % 320, b % 380);
            for (auto type : { QEvent::MouseButtonPress, QEvent::MouseButtonDblClick }) {
                QMouseEvent click(type, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(box.viewport(), &click);
            }
            std::tie(anchor, caret) = box.caret().selection();
        }
        check(box.length() == plain.size() && box.caret().position() == caret
                && box.caret().selection()
                    == std::pair(std::min(anchor, caret), std::max(anchor, caret))
                && box.selectedText()
                    == plain.mid(std::min(anchor, caret), std::abs(caret - anchor)),
            "the box holds the text, the caret and the selection");
    }
    check(box.text() == plain, "the box holds the text");
    return 0;
}
