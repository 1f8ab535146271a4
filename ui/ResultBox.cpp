#include "ResultBox.h"

#include "ResultBoxAccessible.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int margin = 2;
constexpr int framePeriodMs = 16;

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
    m_rows.setFont(font());
}

// A new text is shown from its start; it is followed while it grows if it fits in the box.
void ResultBox::setText(const QString &text)
{
    m_text = text;
    m_anchor = m_cursor = 0;
    m_rows.layout(m_text);
    m_refreshTimer.stop();
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void ResultBox::append(QStringView text)
{
    m_text.append(text);
    m_rows.extend(m_text);
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

QString ResultBox::selectedText() const
{
    const auto [from, to] = std::minmax(m_anchor, m_cursor);
    return m_text.mid(from, to - from);
}

void ResultBox::selectAll()
{
    select(0, m_text.size());
}

void ResultBox::copy() const
{
    if (m_anchor != m_cursor)
        QGuiApplication::clipboard()->setText(selectedText());
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
    while (end > start && (m_text[end - 1] == u'\n' || m_text[end - 1] == u'\r'))
        --end;
    return m_text.mid(start, end - start);
}

qsizetype ResultBox::offsetAt(QPoint position) const
{
    const qsizetype row = std::clamp<qsizetype>(
        verticalScrollBar()->value() + (position.y() - margin) / lineHeight(), 0,
        m_rows.rowCount() - 1);
    const QString text = visibleText(row);
    const QFontMetricsF metrics(font());
    const qreal x = position.x() - margin;
    qsizetype column = 0;
    for (; column < text.size(); ++column) {
        const qreal left = metrics.horizontalAdvance(text.left(column));
        const qreal right = metrics.horizontalAdvance(text.left(column + 1));
        if (x < (left + right) / 2)
            break;
    }
    return m_rows.rowStart(row) + column;
}

void ResultBox::select(qsizetype anchor, qsizetype cursor)
{
    m_anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    m_cursor = std::clamp<qsizetype>(cursor, 0, m_text.size());
    viewport()->update();
}

// On X11 and Wayland a selection is also offered for pasting with the middle button.
void ResultBox::publishSelection() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_anchor != m_cursor && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ResultBox::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QFontMetricsF metrics(font());
    const auto [selectionStart, selectionEnd] = std::minmax(m_anchor, m_cursor);

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
    QScrollBar *bar = verticalScrollBar();
    if (event == QKeySequence::SelectAll)
        selectAll();
    else if (event == QKeySequence::Copy)
        copy();
    else if (event == QKeySequence::MoveToStartOfDocument || event->key() == Qt::Key_Home)
        bar->setValue(0);
    else if (event == QKeySequence::MoveToEndOfDocument || event->key() == Qt::Key_End)
        bar->setValue(bar->maximum());
    else
        QAbstractScrollArea::keyPressEvent(event);
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
    auto isWordCharacter = [this](qsizetype i) { return !m_text[i].isSpace(); };
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
    viewport()->update();
}

void ResultBox::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ResultBox::scrollContentsBy(int, int)
{
    viewport()->update();
}
