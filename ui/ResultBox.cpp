#include "ResultBox.h"

#include "ResultBoxAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int margin = 2;
constexpr int framePeriodMs = 16;

enum class Move {
    NextChar,
    PreviousChar,
    NextLine,
    PreviousLine,
    LineStart,
    LineEnd,
    NextPage,
    PreviousPage,
    Start,
    End
};

// The caret moves of a text box, each with the key that moves the caret and the one that selects.
struct CaretKey
{
    QKeySequence::StandardKey moving;
    QKeySequence::StandardKey selecting;
    Move move;
};

constexpr CaretKey caretKeys[] = {
    { QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::NextChar },
    { QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::PreviousChar },
    { QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Move::NextLine },
    { QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Move::PreviousLine },
    { QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::LineStart },
    { QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::LineEnd },
    { QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Move::NextPage },
    { QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Move::PreviousPage },
    { QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Move::Start },
    { QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Move::End },
};

// A menu entry as Qt's own text boxes write it: the caption and the shortcut beside it.
QString menuText(const char *caption, QKeySequence::StandardKey shortcut)
{
    return QCoreApplication::translate("QWidgetTextControl", caption) + u'\t'
        + QKeySequence(shortcut).toString(QKeySequence::NativeText);
}

} // namespace

ResultBox::ResultBox(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    // Registered when the first box is made.
    [[maybe_unused]] static const bool readableAsText
        = (QAccessible::installFactory(ResultBoxAccessible::create), true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(framePeriodMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &ResultBox::refresh);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] {
        m_caretShown = !m_caretShown;
        viewport()->update();
    });
    m_rows.setFont(font());
}

// A new text is shown from its start, the caret before it; it is followed while it grows if it
// fits in the box.
void ResultBox::setText(const QString &text)
{
    const QString before = QAccessible::isActive() ? m_text.toString() : QString();
    m_text.set(text);
    m_anchor = m_caret = 0;
    m_rows.layout(m_text);
    m_refreshTimer.stop();
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    m_announced = m_text.size();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, before, text);
        QAccessible::updateAccessibility(&event);
    }
}

void ResultBox::append(QStringView text)
{
    m_text.append(text);
    m_rows.extend(m_text);
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void ResultBox::select(qsizetype anchor, qsizetype caret)
{
    m_anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    m_caret = std::clamp<qsizetype>(caret, 0, m_text.size());
    restartBlinking();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(this, int(m_caret));
        QAccessible::updateAccessibility(&moved);
        const auto [from, to] = selection();
        QAccessibleTextSelectionEvent selected(this, int(from), int(to));
        QAccessible::updateAccessibility(&selected);
    }
}

QString ResultBox::selectedText() const
{
    const auto [from, to] = selection();
    return m_text.mid(from, to - from);
}

void ResultBox::selectAll()
{
    select(0, m_text.size());
    publishSelection();
}

void ResultBox::copy() const
{
    if (m_anchor != m_caret)
        QGuiApplication::clipboard()->setText(selectedText());
}

QRect ResultBox::characterRect(qsizetype offset) const
{
    const qsizetype row = m_rows.rowOf(offset);
    const int top = margin + int(row - verticalScrollBar()->value()) * lineHeight();
    const int left = margin + int(xOf(offset));
    const int width = int(QFontMetricsF(font()).horizontalAdvance(m_text.mid(offset, 1)));
    return { left, top, std::max(1, width), lineHeight() };
}

qsizetype ResultBox::offsetAt(QPoint position) const
{
    return offsetInRow(verticalScrollBar()->value() + (position.y() - margin) / lineHeight(),
        position.x() - margin);
}

std::pair<qsizetype, qsizetype> ResultBox::rowAround(qsizetype offset) const
{
    const qsizetype row = m_rows.rowOf(offset);
    return { m_rows.rowStart(row), m_rows.rowEnd(row) };
}

// Scrolls as little as shows the row of `offset`.
void ResultBox::scrollTo(qsizetype offset)
{
    QScrollBar *bar = verticalScrollBar();
    const int row = int(m_rows.rowOf(offset));
    bar->setValue(std::clamp(bar->value(), row - rowsInView() + 1, row));
}

void ResultBox::refresh()
{
    m_refreshTimer.stop();
    QScrollBar *bar = verticalScrollBar();
    const bool followingTheEnd = bar->value() == bar->maximum();
    updateScrollRange();
    if (followingTheEnd)
        bar->setValue(bar->maximum());
    viewport()->update();
    if (QAccessible::isActive() && m_announced < m_text.size()) {
        QAccessibleTextInsertEvent inserted(
            this, int(m_announced), m_text.mid(m_announced, m_text.size() - m_announced));
        QAccessible::updateAccessibility(&inserted);
    }
    m_announced = m_text.size();
}

void ResultBox::updateScrollRange()
{
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, int(std::max<qsizetype>(0, m_rows.rowCount() - rowsInView())));
    bar->setPageStep(rowsInView());
}

void ResultBox::relayout()
{
    m_rows.setFont(font());
    m_rows.setWidth(viewport()->width() - 2 * margin);
    m_rows.layout(m_text);
    refresh();
}

int ResultBox::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int ResultBox::rowsInView() const
{
    return std::max(1, (viewport()->height() - 2 * margin) / lineHeight());
}

// The row's characters without the line break that ends it.
QString ResultBox::visibleText(qsizetype row) const
{
    const qsizetype start = m_rows.rowStart(row);
    qsizetype end = m_rows.rowEnd(row);
    while (end > start && (m_text.at(end - 1) == u'\n' || m_text.at(end - 1) == u'\r'))
        --end;
    return m_text.mid(start, end - start);
}

qreal ResultBox::xOf(qsizetype offset) const
{
    const qsizetype row = m_rows.rowOf(offset);
    return QFontMetricsF(font()).horizontalAdvance(
        visibleText(row).left(offset - m_rows.rowStart(row)));
}

qsizetype ResultBox::offsetInRow(qsizetype row, qreal x) const
{
    row = std::clamp<qsizetype>(row, 0, m_rows.rowCount() - 1);
    const QString text = visibleText(row);
    const QFontMetricsF metrics(font());
    qsizetype column = 0;
    for (qreal left = 0; column < text.size(); ++column) {
        const qreal right = metrics.horizontalAdvance(text.left(column + 1));
        if (x < (left + right) / 2)
            break;
        left = right;
    }
    return m_rows.rowStart(row) + column;
}

// The caret never stands between CR and LF, nor inside a surrogate pair.
qsizetype ResultBox::nextPosition(qsizetype offset, int step) const
{
    auto inside = [this](qsizetype i) {
        return i > 0 && i < m_text.size()
            && ((m_text.at(i - 1) == u'\r' && m_text.at(i) == u'\n')
                || m_text.at(i).isLowSurrogate());
    };
    do
        offset = std::clamp<qsizetype>(offset + step, 0, m_text.size());
    while (inside(offset));
    return offset;
}

void ResultBox::moveCaret(qsizetype offset, bool selecting)
{
    select(selecting ? m_anchor : offset, offset);
    scrollTo(offset);
    if (selecting)
        publishSelection();
}

// On X11 and Wayland a selection is also offered for pasting with the middle button.
void ResultBox::publishSelection() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_anchor != m_caret && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ResultBox::restartBlinking()
{
    m_caretShown = hasFocus();
    if (m_caretShown && QApplication::cursorFlashTime() > 0)
        m_blinkTimer.start(QApplication::cursorFlashTime() / 2);
    viewport()->update();
}

void ResultBox::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QFontMetricsF metrics(font());
    const auto [selectionStart, selectionEnd] = selection();

    const qsizetype first = verticalScrollBar()->value();
    const qsizetype last = std::min(m_rows.rowCount(), first + rowsInView() + 1);
    for (qsizetype row = first; row < last; ++row) {
        const qsizetype start = m_rows.rowStart(row);
        const QString text = visibleText(row);
        const qreal top = margin + qreal(row - first) * lineHeight();
        const QPointF baseline(margin, top + metrics.ascent());
        painter.setPen(palette().color(group, QPalette::Text));
        painter.drawText(baseline, text);

        const qsizetype from = std::max(selectionStart, start) - start;
        const qsizetype to = std::min(selectionEnd, start + text.size()) - start;
        if (from < to) {
            const qreal left = margin + metrics.horizontalAdvance(text.left(from));
            const qreal right = margin + metrics.horizontalAdvance(text.left(to));
            const QRectF highlight(left, top, right - left, lineHeight());
            painter.fillRect(highlight, palette().color(group, QPalette::Highlight));
            painter.save();
            painter.setClipRect(highlight);
            painter.setPen(palette().color(group, QPalette::HighlightedText));
            painter.drawText(baseline, text);
            painter.restore();
        }
    }
    if (m_caretShown && hasFocus()) {
        const QRect at = characterRect(m_caret);
        painter.fillRect(
            at.left(), at.top(), 1, at.height(), palette().color(group, QPalette::Text));
    }
}

void ResultBox::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void ResultBox::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

void ResultBox::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::SelectAll)
        return selectAll();
    if (event == QKeySequence::Copy)
        return copy();
    for (const CaretKey &key : caretKeys) {
        if (event != key.moving && event != key.selecting)
            continue;
        const bool selecting = event == key.selecting;
        const qsizetype row = m_rows.rowOf(m_caret);
        const qreal x = xOf(m_caret);
        switch (key.move) {
        case Move::NextChar:
        case Move::PreviousChar:
            return moveCaret(nextPosition(m_caret, key.move == Move::NextChar ? 1 : -1), selecting);
        case Move::NextLine:
        case Move::PreviousLine:
            return moveCaret(
                offsetInRow(row + (key.move == Move::NextLine ? 1 : -1), x), selecting);
        case Move::LineStart:
            return moveCaret(m_rows.rowStart(row), selecting);
        case Move::LineEnd:
            return moveCaret(m_rows.rowStart(row) + visibleText(row).size(), selecting);
        case Move::Start:
            return moveCaret(0, selecting);
        case Move::End:
            return moveCaret(m_text.size(), selecting);
        case Move::NextPage:
        case Move::PreviousPage: {
            // The view turns a page, and the caret moves a page with it.
            const int page = key.move == Move::NextPage ? rowsInView() : -rowsInView();
            verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
            return moveCaret(offsetInRow(row + page, x), selecting);
        }
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ResultBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(menuText("&Copy", QKeySequence::Copy), this, &ResultBox::copy)
        ->setEnabled(m_anchor != m_caret);
    menu.addSeparator();
    menu.addAction(menuText("Select All", QKeySequence::SelectAll), this, &ResultBox::selectAll);
    menu.exec(event->globalPos());
}

void ResultBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype offset = offsetAt(event->position().toPoint());
    select(event->modifiers() & Qt::ShiftModifier ? m_anchor : offset, offset);
}

void ResultBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint position = event->position().toPoint();
    if (position.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (position.y() > viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    select(m_anchor, offsetAt(position));
}

void ResultBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        publishSelection();
}

void ResultBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype offset = offsetAt(event->position().toPoint());
    auto isWordCharacter = [this](qsizetype i) { return !m_text.at(i).isSpace(); };
    qsizetype start = offset;
    while (start > 0 && isWordCharacter(start - 1))
        --start;
    qsizetype end = offset;
    while (end < m_text.size() && isWordCharacter(end))
        ++end;
    select(start, end);
    publishSelection();
}

void ResultBox::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlinking();
}

void ResultBox::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blinkTimer.stop();
    restartBlinking();
}

void ResultBox::scrollContentsBy(int, int)
{
    viewport()->update();
}
