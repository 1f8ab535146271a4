#include "ResultBox.h"

#include "ResultBoxAccessible.h"
#include "TextSegments.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

namespace {

constexpr int margin = 2;
constexpr int framePeriodMs = 16;
// When the box gets a new text, an old text up to this length is handed to assistive technology;
// a longer one would cost its whole length here and on the accessibility bus.
constexpr qsizetype announcedOldText = 4096;

// The keys of a text box that move the caret, and with Shift select: along the text, or by rows
// or pages, keeping the caret's x.
struct CaretKey
{
    QKeySequence::StandardKey moving;
    QKeySequence::StandardKey selecting;
    TextCaret::Move move;
    int rows = 0;
    bool pages = false;
};

constexpr CaretKey caretKeys[] = {
    { QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, TextCaret::Move::NextCharacter },
    { QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
        TextCaret::Move::PreviousCharacter },
    { QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, TextCaret::Move::RowStart },
    { QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, TextCaret::Move::RowEnd },
    { QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
        TextCaret::Move::TextStart },
    { QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument,
        TextCaret::Move::TextEnd },
    { QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, {}, 1 },
    { QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, {}, -1 },
    { QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, {}, 1, true },
    { QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, {}, -1, true },
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
    const bool readerActive = QAccessible::isActive();
    const QString replaced
        = readerActive && m_text.size() <= announcedOldText ? m_text.toString() : QString();
    m_text.set(text);
    m_rows.layout();
    m_caret.moveTo(0, false);
    m_refreshTimer.stop();
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    m_announced = m_text.size();
    if (readerActive) {
        QAccessibleTextUpdateEvent event(this, 0, replaced, text);
        QAccessible::updateAccessibility(&event);
    }
}

void ResultBox::append(QStringView text)
{
    m_text.append(text);
    m_rows.extend();
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void ResultBox::select(qsizetype anchor, qsizetype caret)
{
    m_caret.select(anchor, caret);
    announceCaret();
    restartBlinking();
}

QString ResultBox::selectedText() const
{
    const auto [from, to] = m_caret.selection();
    return m_text.mid(from, to - from);
}

void ResultBox::selectAll()
{
    select(0, m_text.size());
    publishSelection();
}

void ResultBox::copy() const
{
    if (m_caret.hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

QRect ResultBox::characterRect(qsizetype offset) const
{
    if (offset < 0 || offset >= m_text.size())
        return {};
    const qsizetype row = m_rows.rowOf(offset);
    const int top = margin + int(row - verticalScrollBar()->value()) * lineHeight();
    const int width = int(QFontMetricsF(font()).horizontalAdvance(m_text.mid(offset, 1)));
    return { margin + int(xInRow(row, offset)), top, std::max(1, width), lineHeight() };
}

qsizetype ResultBox::offsetAt(QPoint position) const
{
    return placeAt(position).offset;
}

qsizetype ResultBox::shownRow(qsizetype offset) const
{
    return offset == m_caret.position() ? m_caret.row() : m_rows.rowOf(offset);
}

std::pair<qsizetype, qsizetype> ResultBox::rowNextTo(qsizetype offset, int step) const
{
    const qsizetype row = shownRow(offset) + step;
    if (row < 0 || row >= m_rows.rowCount())
        return { -1, -1 };
    return { m_rows.rowStart(row), m_rows.rowEnd(row) };
}

// Scrolls as little as shows the row of `offset`.
void ResultBox::scrollTo(qsizetype offset)
{
    QScrollBar *bar = verticalScrollBar();
    const int row = int(shownRow(offset));
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
    m_rows.layout();
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
    return m_text.mid(start, m_rows.rowTextEnd(row) - start);
}

qreal ResultBox::xInRow(qsizetype row, qsizetype offset) const
{
    return QFontMetricsF(font()).horizontalAdvance(
        visibleText(row).left(offset - m_rows.rowStart(row)));
}

// The caret position nearest to `x` in `row`; right of the row's last character it stands at the
// row's end, upstream, so a wrapped row keeps it.
ResultBox::Place ResultBox::placeInRow(qsizetype row, qreal x) const
{
    const QString text = visibleText(row);
    const QFontMetricsF metrics(font());
    qsizetype column = 0;
    for (qreal left = 0; column < text.size(); ++column) {
        const qreal right = metrics.horizontalAdvance(text.left(column + 1));
        if (x < (left + right) / 2)
            break;
        left = right;
    }
    return { m_rows.rowStart(row) + column,
        column == text.size() ? TextCaret::Affinity::Upstream : TextCaret::Affinity::Downstream };
}

ResultBox::Place ResultBox::placeAt(QPoint position) const
{
    const auto row = verticalScrollBar()->value()
        + qsizetype(std::floor(qreal(position.y() - margin) / lineHeight()));
    return placeInRow(std::clamp<qsizetype>(row, 0, m_rows.rowCount() - 1), position.x() - margin);
}

void ResultBox::moveVertically(qsizetype rows, bool selecting)
{
    const qsizetype row = m_caret.row();
    const Place place = placeInRow(std::clamp<qsizetype>(row + rows, 0, m_rows.rowCount() - 1),
        xInRow(row, m_caret.position()));
    m_caret.moveTo(place.offset, selecting, place.affinity);
    caretMoved(selecting);
}

void ResultBox::caretMoved(bool selecting)
{
    scrollTo(m_caret.position());
    announceCaret();
    restartBlinking();
    if (selecting)
        publishSelection();
}

void ResultBox::announceCaret()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent moved(this, int(m_caret.position()));
    QAccessible::updateAccessibility(&moved);
    const auto [from, to] = m_caret.selection();
    QAccessibleTextSelectionEvent selected(this, int(from), int(to));
    QAccessible::updateAccessibility(&selected);
}

// On X11 and Wayland a selection is also offered for pasting with the middle button.
void ResultBox::publishSelection() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_caret.hasSelection() && clipboard->supportsSelection())
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
    const auto [selectionStart, selectionEnd] = m_caret.selection();

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
        const qsizetype row = m_caret.row();
        const qreal x = margin + xInRow(row, m_caret.position());
        painter.fillRect(QRectF(x, margin + qreal(row - first) * lineHeight(), 1, lineHeight()),
            palette().color(group, QPalette::Text));
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
        if (key.rows == 0) {
            m_caret.move(key.move, selecting);
            return caretMoved(selecting);
        }
        // A page key turns the view a page, and the caret moves a page with it.
        const int rows = key.pages ? key.rows * rowsInView() : key.rows;
        if (key.pages)
            verticalScrollBar()->setValue(verticalScrollBar()->value() + rows);
        return moveVertically(rows, selecting);
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ResultBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(menuText("&Copy", QKeySequence::Copy), this, &ResultBox::copy)
        ->setEnabled(m_caret.hasSelection());
    menu.addSeparator();
    menu.addAction(menuText("Select All", QKeySequence::SelectAll), this, &ResultBox::selectAll);
    menu.exec(event->globalPos());
}

void ResultBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Place place = placeAt(event->position().toPoint());
    m_caret.moveTo(place.offset, event->modifiers() & Qt::ShiftModifier, place.affinity);
    announceCaret();
    restartBlinking();
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
    const Place place = placeAt(position);
    m_caret.moveTo(place.offset, true, place.affinity);
    announceCaret();
    restartBlinking();
}

// Also after a double click, which the window system follows with a release.
void ResultBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        publishSelection();
}

// A double click selects the word it hits; right of a row's end, the word before it.
void ResultBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    const Place place = placeAt(event->position().toPoint());
    const qsizetype hit
        = place.affinity == TextCaret::Affinity::Upstream ? place.offset - 1 : place.offset;
    if (event->button() != Qt::LeftButton || hit < 0 || hit >= m_text.size())
        return;
    const auto [start, end] = TextSegments::around(m_text, hit, QAccessible::WordBoundary);
    select(start, end);
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
