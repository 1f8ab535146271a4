#include "ResultBox.h"

#include "ResultBoxAccessible.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

namespace {

constexpr int margin = 2;
constexpr int framePeriodMs = 16;
constexpr int dragScrollPeriodMs = 50;

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
    connect(
        &m_control, &ResultBoxControl::updateRequest, viewport(), qOverload<>(&QWidget::update));
    connect(&m_control, &ResultBoxControl::visibilityRequest, this, &ResultBox::scrollTo);
    connect(&m_control, &ResultBoxControl::scrollRequest, this,
        [this](int rows) { verticalScrollBar()->setValue(verticalScrollBar()->value() + rows); });
}

void ResultBox::setText(const QString &text)
{
    m_control.setText(text);
    m_refreshTimer.stop();
    updateScrollRange();
    verticalScrollBar()->setValue(0);
}

void ResultBox::append(QStringView text)
{
    m_control.append(text);
    refreshSoon();
}

void ResultBox::appendDigits(std::string_view digits)
{
    m_control.appendDigits(digits);
    refreshSoon();
}

void ResultBox::appendRepeated(qsizetype period, qsizetype count)
{
    m_control.appendRepeated(period, count);
    refreshSoon();
}

// At most once a frame.
void ResultBox::refreshSoon()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

QRect ResultBox::characterRect(qsizetype offset) const
{
    if (offset < 0 || offset >= length())
        return {};
    const qsizetype row = m_control.rows().rowOf(offset);
    const int top = margin + int(row - verticalScrollBar()->value()) * lineHeight();
    const int width = int(QFontMetricsF(font()).horizontalAdvance(content().mid(offset, 1)));
    return { margin + int(m_control.xInRow(row, offset)), top, std::max(1, width), lineHeight() };
}

qsizetype ResultBox::offsetAt(QPoint position) const
{
    return placeAt(position).offset;
}

void ResultBox::scrollTo(qsizetype offset)
{
    QScrollBar *bar = verticalScrollBar();
    const int row = int(m_control.shownRow(offset));
    bar->setValue(std::clamp(bar->value(), row - rowsInView() + 1, row));
}

void ResultBox::refresh()
{
    QScrollBar *bar = verticalScrollBar();
    const bool followingTheEnd = bar->value() == bar->maximum();
    updateScrollRange();
    if (followingTheEnd)
        bar->setValue(bar->maximum());
    viewport()->update();
    m_control.announceAppended();
}

void ResultBox::updateScrollRange()
{
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, int(std::max<qsizetype>(0, m_control.rows().rowCount() - rowsInView())));
    bar->setPageStep(rowsInView());
}

void ResultBox::relayout()
{
    m_control.layout(font(), viewport()->width() - 2 * margin);
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

ResultBoxControl::Place ResultBox::placeAt(QPoint position) const
{
    const auto row = verticalScrollBar()->value()
        + qsizetype(std::floor(qreal(position.y() - margin) / lineHeight()));
    return m_control.placeInRow(
        std::clamp<qsizetype>(row, 0, m_control.rows().rowCount() - 1), position.x() - margin);
}

void ResultBox::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QFontMetricsF metrics(font());
    const auto [selectionStart, selectionEnd] = caret().selection();
    const WrappedRows &rows = m_control.rows();

    const qsizetype first = verticalScrollBar()->value();
    const qsizetype last = std::min(rows.rowCount(), first + rowsInView() + 1);
    const qreal barThickness = std::max(1.0, metrics.lineWidth());
    for (qsizetype row = first; row < last; ++row) {
        const qsizetype start = rows.rowStart(row);
        const QString text = m_control.visibleText(row);
        const qreal top = margin + qreal(row - first) * lineHeight();
        const QPointF baseline(margin, top + metrics.ascent());
        // The part of this row between two offsets of the text.
        const auto span = [&](qsizetype from, qsizetype to) {
            from = std::clamp(from - start, qsizetype(0), text.size());
            to = std::clamp(to - start, from, text.size());
            const qreal left = margin + metrics.horizontalAdvance(text.left(from));
            return QRectF(
                left, top, margin + metrics.horizontalAdvance(text.left(to)) - left, lineHeight());
        };
        const QRectF bar = span(m_overlineFrom, m_overlineFrom + m_overlineLength);
        const auto draw = [&](QPalette::ColorRole role) {
            painter.setPen(palette().color(group, role));
            painter.drawText(baseline, text);
            if (bar.width() > 0)
                painter.fillRect(
                    QRectF(bar.left(), baseline.y() - metrics.capHeight() - 2 * barThickness,
                        bar.width(), barThickness),
                    palette().color(group, role));
        };
        draw(QPalette::Text);

        const QRectF highlight = span(selectionStart, selectionEnd);
        if (highlight.width() > 0) {
            painter.fillRect(highlight, palette().color(group, QPalette::Highlight));
            painter.save();
            painter.setClipRect(highlight);
            draw(QPalette::HighlightedText);
            painter.restore();
        }
    }
    if (m_control.caretShown() && hasFocus()) {
        const qsizetype row = caret().row();
        const qreal x = margin + m_control.xInRow(row, caret().position());
        painter.fillRect(QRectF(x, margin + qreal(row - first) * lineHeight(), 1, lineHeight()),
            palette().color(group, QPalette::Text));
    }
}

void ResultBox::setOverline(qsizetype from, qsizetype length)
{
    m_overlineFrom = from;
    m_overlineLength = length;
    viewport()->update();
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
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)
        m_control.showMenu(caretPoint());
    else if (!m_control.keyPress(event, rowsInView()))
        QAbstractScrollArea::keyPressEvent(event);
}

// The menu key opens the menu at the caret, as Shift+F10 does.
void ResultBox::contextMenuEvent(QContextMenuEvent *event)
{
    m_control.showMenu(
        event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : caretPoint());
}

// Below the caret, in the view: it is scrolled into view first.
QPoint ResultBox::caretPoint()
{
    scrollTo(caret().position());
    const qsizetype row = caret().row() - verticalScrollBar()->value() + 1;
    return viewport()->mapToGlobal(
        QPoint(margin + int(m_control.xInRow(caret().row(), caret().position())),
            margin + int(row) * lineHeight()));
}

void ResultBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_control.mousePress(placeAt(event->position().toPoint()),
            event->modifiers() & Qt::ShiftModifier, event->position().toPoint());
}

// A drag selects to the row under the pointer; above or below the view, the view scrolls a row at
// a time, as long as the pointer stays there, and the selection follows the edge row.
void ResultBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    m_dragPosition = event->position().toPoint();
    const bool outside = m_dragPosition.y() < 0 || m_dragPosition.y() >= viewport()->height();
    if (outside && !m_dragScrollTimer.isActive())
        m_dragScrollTimer.start(dragScrollPeriodMs, this);
    else if (!outside)
        m_dragScrollTimer.stop();
    dragTo();
}

void ResultBox::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_dragScrollTimer.timerId())
        return QAbstractScrollArea::timerEvent(event);
    verticalScrollBar()->triggerAction(m_dragPosition.y() < 0
            ? QAbstractSlider::SliderSingleStepSub
            : QAbstractSlider::SliderSingleStepAdd);
    dragTo();
}

void ResultBox::dragTo()
{
    const int lastRowBottom = margin + rowsInView() * lineHeight() - 1;
    m_control.mouseDrag(
        placeAt({ m_dragPosition.x(), std::clamp(m_dragPosition.y(), 0, lastRowBottom) }));
}

void ResultBox::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragScrollTimer.stop();
    if (event->button() == Qt::LeftButton)
        m_control.mouseRelease();
}

void ResultBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_control.mouseDoubleClick(
            placeAt(event->position().toPoint()), event->position().toPoint());
}

void ResultBox::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_control.focusChanged();
}

void ResultBox::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_control.focusChanged();
}

void ResultBox::scrollContentsBy(int, int)
{
    viewport()->update();
}
