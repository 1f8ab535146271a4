#include "ResultBoxAccessible.h"

#include "ResultBox.h"
#include "TextSegments.h"

ResultBoxAccessible::ResultBoxAccessible(ResultBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{ }

ResultBox *ResultBoxAccessible::box() const
{
    return static_cast<ResultBox *>(widget());
}

ResultBoxControl &ResultBoxAccessible::control() const
{
    return box()->control();
}

QAccessible::State ResultBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

void *ResultBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int ResultBoxAccessible::characterCount() const
{
    return int(control().text().size());
}

// Any process on the accessibility bus may make these calls, so every offset is checked before it
// is used: one outside the text gives an empty or invalid answer.
QString ResultBoxAccessible::text(int startOffset, int endOffset) const
{
    const int from = std::clamp(startOffset, 0, characterCount());
    return control().text().mid(from, std::clamp(endOffset, from, characterCount()) - from);
}

QString ResultBoxAccessible::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
{
    return segment(offset, boundary, 0, startOffset, endOffset);
}

QString ResultBoxAccessible::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
{
    return segment(offset, boundary, -1, startOffset, endOffset);
}

QString ResultBoxAccessible::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
{
    return segment(offset, boundary, 1, startOffset, endOffset);
}

// The segment at `offset`, or the one before or after it (`step` -1 or 1). Lines are the rows on
// screen, at the caret the row it is drawn on. The end of the text is an offset too, where the
// caret can stand: it is in the last line and paragraph but holds no character, word or sentence.
QString ResultBoxAccessible::segment(int offset, QAccessible::TextBoundaryType boundary, int step,
    int *startOffset, int *endOffset) const
{
    const qsizetype length = control().text().size();
    std::pair<qsizetype, qsizetype> found { -1, -1 };
    if (offset < 0 || offset > length) {
        *startOffset = *endOffset = -1;
        return {};
    }
    if (boundary == QAccessible::LineBoundary) {
        found = control().rowNextTo(offset, step);
    } else if (boundary == QAccessible::NoBoundary) {
        found = step == 0 ? std::pair<qsizetype, qsizetype>(0, length) : found;
    } else {
        const ResultText &text = control().text();
        auto around = [&](qsizetype at) { return readerSegment(at, boundary); };
        const bool endsWithParagraph = length == 0 || text.at(length - 1) == u'\n';
        const std::pair<qsizetype, qsizetype> here = offset < length ? around(offset)
            : boundary == QAccessible::ParagraphBoundary && !endsWithParagraph
            ? around(length - 1)
            : std::pair<qsizetype, qsizetype>(length, length);
        if (step == 0 && (here.first < here.second || boundary == QAccessible::ParagraphBoundary))
            found = here;
        else if (step < 0 && here.first > 0)
            found = around(here.first - 1);
        else if (step > 0 && here.second < length)
            found = around(here.second);
    }
    *startOffset = int(found.first);
    *endOffset = int(found.second);
    return found.first < 0 ? QString() : text(*startOffset, *endOffset);
}

// A reader reads words as TextSegments::readerWord has them, and a sentence or paragraph no longer
// than the row it is read in: so no answer grows with the length of a result.
std::pair<qsizetype, qsizetype> ResultBoxAccessible::readerSegment(
    qsizetype at, QAccessible::TextBoundaryType boundary) const
{
    const ResultText &text = control().text();
    const WrappedRows &rows = control().rows();
    if (boundary == QAccessible::WordBoundary)
        return TextSegments::readerWord(text, at);
    const auto [start, end] = TextSegments::around(text, at, boundary);
    const qsizetype row = rows.rowOf(at);
    if (boundary == QAccessible::CharBoundary
        || end - start <= rows.rowEnd(row) - rows.rowStart(row))
        return { start, end };
    return { std::max(start, rows.rowStart(row)), std::min(end, rows.rowEnd(row)) };
}

int ResultBoxAccessible::cursorPosition() const
{
    return int(control().caret().position());
}

void ResultBoxAccessible::setCursorPosition(int position)
{
    if (position >= 0 && position <= characterCount()) {
        control().select(position, position);
        box()->scrollTo(position);
    }
}

int ResultBoxAccessible::selectionCount() const
{
    return control().caret().hasSelection() ? 1 : 0;
}

void ResultBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const auto [start, end] = control().caret().selection();
    const bool selected = selectionIndex == 0 && start < end;
    *startOffset = selected ? int(start) : 0;
    *endOffset = selected ? int(end) : 0;
}

void ResultBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void ResultBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        control().select(control().caret().position(), control().caret().position());
}

void ResultBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    const int length = characterCount();
    if (selectionIndex == 0 && startOffset >= 0 && startOffset <= length && endOffset >= 0
        && endOffset <= length)
        control().select(startOffset, endOffset);
}

QRect ResultBoxAccessible::characterRect(int offset) const
{
    const QRect rect = box()->characterRect(offset);
    return rect.isValid() ? QRect(box()->viewport()->mapToGlobal(rect.topLeft()), rect.size())
                          : rect;
}

int ResultBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint inView = box()->viewport()->mapFromGlobal(point);
    return box()->viewport()->rect().contains(inView) ? int(box()->offsetAt(inView)) : -1;
}

void ResultBoxAccessible::scrollToSubstring(int startIndex, int)
{
    if (startIndex >= 0 && startIndex <= characterCount())
        box()->scrollTo(startIndex);
}

// The text has no attributes of its own.
QString ResultBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    const bool inText = offset >= 0 && offset <= characterCount();
    *startOffset = inText ? 0 : -1;
    *endOffset = inText ? characterCount() : -1;
    return {};
}

QAccessibleInterface *ResultBoxAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("ResultBox") && object && object->isWidgetType())
        return new ResultBoxAccessible(static_cast<ResultBox *>(object));
    return nullptr;
}
