#include "ResultBoxAccessible.h"

#include "ResultBox.h"

ResultBoxAccessible::ResultBoxAccessible(ResultBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{ }

ResultBox *ResultBoxAccessible::box() const
{
    return static_cast<ResultBox *>(widget());
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
    return int(box()->length());
}

QString ResultBoxAccessible::text(int startOffset, int endOffset) const
{
    return box()->textRange(startOffset, endOffset);
}

// A character is one character; anything longer, a word or a line, is the row on screen, since the
// digits of a long result make one word and one line of any length.
QString ResultBoxAccessible::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
{
    const qsizetype at = std::clamp<qsizetype>(offset, 0, box()->length());
    auto [start, end] = boundary == QAccessible::CharBoundary ? std::pair(at, at + 1)
        : boundary == QAccessible::NoBoundary ? std::pair(qsizetype(0), box()->length())
                                              : box()->rowAround(at);
    end = std::min(end, box()->length());
    *startOffset = int(start);
    *endOffset = int(end);
    return box()->textRange(start, end);
}

QString ResultBoxAccessible::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundary, &start, &end);
    if (start == 0) {
        *startOffset = *endOffset = 0;
        return {};
    }
    return textAtOffset(start - 1, boundary, startOffset, endOffset);
}

QString ResultBoxAccessible::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundary, &start, &end);
    if (end >= characterCount()) {
        *startOffset = *endOffset = characterCount();
        return {};
    }
    return textAtOffset(end, boundary, startOffset, endOffset);
}

int ResultBoxAccessible::cursorPosition() const
{
    return int(box()->caret());
}

void ResultBoxAccessible::setCursorPosition(int position)
{
    box()->select(position, position);
}

int ResultBoxAccessible::selectionCount() const
{
    const auto [start, end] = box()->selection();
    return start == end ? 0 : 1;
}

void ResultBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const auto [start, end] = box()->selection();
    *startOffset = selectionIndex == 0 ? int(start) : 0;
    *endOffset = selectionIndex == 0 ? int(end) : 0;
}

void ResultBoxAccessible::addSelection(int startOffset, int endOffset)
{
    box()->select(startOffset, endOffset);
}

void ResultBoxAccessible::removeSelection(int)
{
    box()->select(box()->caret(), box()->caret());
}

void ResultBoxAccessible::setSelection(int, int startOffset, int endOffset)
{
    box()->select(startOffset, endOffset);
}

QRect ResultBoxAccessible::characterRect(int offset) const
{
    const QRect rect = box()->characterRect(offset);
    return { box()->viewport()->mapToGlobal(rect.topLeft()), rect.size() };
}

int ResultBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    return int(box()->offsetAt(box()->viewport()->mapFromGlobal(point)));
}

void ResultBoxAccessible::scrollToSubstring(int startIndex, int)
{
    box()->scrollTo(startIndex);
}

// The text has no attributes of its own.
QString ResultBoxAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

QAccessibleInterface *ResultBoxAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("ResultBox") && object && object->isWidgetType())
        return new ResultBoxAccessible(static_cast<ResultBox *>(object));
    return nullptr;
}
