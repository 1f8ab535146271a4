// Input: operations on the result box, which a plain text, caret and anchor follow.
#include "FuzzCheck.h"
#include "ResultBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz", *argv[] = { name, nullptr };
    // Never destroyed: at exit Qt's objects go in no safe order.
    [[maybe_unused]] static auto *app
        = new QApplication((qputenv("QT_QPA_PLATFORM", "offscreen"), argc), argv);
    static ResultBox &box = *new ResultBox;
    box.resize(313, 369);
    box.show();
    QAccessibleTextInterface &reader
        = *QAccessible::queryAccessibleInterface(&box)->textInterface();
    // Moves, Copy (6), selecting moves, Select All (13), a word on (14) and a word back selecting.
    using enum QKeySequence::StandardKey;
    const QKeySequence::StandardKey keys[]
        = { MoveToNextChar, MoveToNextLine, MoveToStartOfLine, MoveToEndOfLine, MoveToPreviousPage,
              MoveToEndOfDocument, Copy, SelectPreviousChar, SelectPreviousLine, SelectEndOfLine,
              SelectStartOfLine, SelectNextPage, SelectStartOfDocument, SelectAll, MoveToNextWord,
              SelectPreviousWord };
    const QString alphabet = QStringLiteral("0123456789,-\r\n aé.😀");
    QString plain;
    box.setText(plain);
    qsizetype anchor = 0, caret = 0;
    auto next = [&] { return size ? (--size, *data++) : 0; };
    while (size) {
        const int operation = next() % 4, length = int(plain.size());
        int a = 0, b = 0;
        for (int *offset : { &a, &b }) {
            for (int byte = 0; byte < 3; ++byte)
                *offset = *offset << 8 | next();
            *offset = *offset % (length + 5) - 2;
        }
        if (operation == 0) {
            QString text;
            for (int n = next(); n > 0; --n)
                text += alphabet[next() % alphabet.size()];
            text += QString(next() * next() * 32, QChar(u'0' + std::abs(a) % 10));
            b % 2 ? box.setText(text) : box.append(text);
            plain = b % 2 ? text : plain + text;
            if (b % 2)
                anchor = caret = 0;
        } else if (operation == 1) {
            const int key = next() % std::size(keys);
            const QKeyCombination pressed = QKeySequence(keys[key])[0];
            QKeyEvent press(QEvent::KeyPress, pressed.key(), pressed.keyboardModifiers());
            QCoreApplication::sendEvent(&box, &press);
            anchor = key == 13 ? 0 : key < 6 || key == 14 ? box.caret().position() : anchor;
            check(key < 14 || (key == 14 ? box.caret().position() > caret || caret == length
                                         : box.caret().position() < caret || caret == 0),
                "a word step moves the caret unless it stands at that end of the text");
            caret = box.caret().position();
            check(key == 6 || key == 13 || caret == 0 || caret == length
                    || !((plain[caret - 1] == u'\r' && plain[caret] == u'\n')
                        || (plain[caret - 1].isHighSurrogate() && plain[caret].isLowSurrogate())),
                "the caret never splits CR LF or a surrogate pair");
            check(key != 6 || anchor == caret
                    || QGuiApplication::clipboard()->text() == box.selectedText(),
                "Copy copies the selection");
        } else if (operation == 2) {
            if (b == length + 2)
                reader.setCursorPosition(b = a);
            else
                reader.setSelection(0, a, b);
            if (a >= 0 && a <= length && b >= 0 && b <= length)
                anchor = a, caret = b;
        } else {
            int start = 0, end = 0;
            a = a == length + 2 ? INT_MAX : a;
            const auto boundary = QAccessible::TextBoundaryType(next() % 6);
            const int which = next() % 3;
            const QString found = which == 0 ? reader.textBeforeOffset(a, boundary, &start, &end)
                : which == 1                 ? reader.textAtOffset(a, boundary, &start, &end)
                                             : reader.textAfterOffset(a, boundary, &start, &end);
            check(start < 0 ? found.isEmpty() && end < 0
                            : a >= 0 && a <= length && start <= end && end <= length
                        && found == plain.mid(start, end - start)
                        && (which != 1 || (start <= a && a <= end))
                        && (boundary != QAccessible::WordBoundary || !plain[start].isDigit()
                            || end - start <= 3),
                "a segment is the text between its offsets, a word of digits three at most");
            const int from = std::clamp(a, 0, length);
            check(reader.text(a, b) == plain.mid(from, std::clamp(b, from, length) - from)
                    && reader.characterRect(a).isValid() == (a >= 0 && a < length),
                "ranges and rectangles keep to the text");
        }
        const auto [first, last] = std::minmax(anchor, caret);
        int from = 0, to = 0;
        reader.selection(0, &from, &to);
        check(box.length() == plain.size() && box.caret().position() == caret
                && box.caret().selection() == std::pair(first, last)
                && reader.selectionCount() == (first < last) && from == (first < last) * first
                && to == (first < last) * last
                && box.selectedText() == plain.mid(first, last - first),
            "the box holds the text, the caret and the selection");
    }
    check(box.text() == plain, "the box holds the text");
    return 0;
}
