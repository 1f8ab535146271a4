#include "ResultBoxControl.h"

#include "TextSegments.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {

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

ResultBoxControl::ResultBoxControl(QWidget *box)
    : m_box(box)
    , m_font(box->font())
{
    m_rows.setFont(m_font);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] {
        m_caretShown = !m_caretShown;
        emit updateRequest();
    });
}

void ResultBoxControl::setText(const QString &text)
{
    const bool readerActive = QAccessible::isActive();
    const QString replaced
        = readerActive && m_text.size() <= announcedOldText ? m_text.toString() : QString();
    m_text.set(text);
    m_rows.layout();
    m_caret.moveTo(0, false);
    m_announced = m_text.size();
    if (readerActive) {
        QAccessibleTextUpdateEvent event(m_box, 0, replaced, text);
        QAccessible::updateAccessibility(&event);
    }
    emit updateRequest();
}

void ResultBoxControl::append(QStringView text)
{
    m_text.append(text);
    m_rows.extend();
}

void ResultBoxControl::announceAppended()
{
    if (QAccessible::isActive() && m_announced < m_text.size()) {
        QAccessibleTextInsertEvent inserted(
            m_box, int(m_announced), m_text.mid(m_announced, m_text.size() - m_announced));
        QAccessible::updateAccessibility(&inserted);
    }
    m_announced = m_text.size();
}

void ResultBoxControl::layout(const QFont &font, qreal width)
{
    m_font = font;
    m_rows.setFont(font);
    m_rows.setWidth(width);
    m_rows.layout();
}

void ResultBoxControl::select(qsizetype anchor, qsizetype caret)
{
    m_caret.select(anchor, caret);
    announceCaret();
    restartBlinking();
}

QString ResultBoxControl::selectedText() const
{
    const auto [from, to] = m_caret.selection();
    return m_text.mid(from, to - from);
}

void ResultBoxControl::selectAll()
{
    select(0, m_text.size());
    publishSelection();
}

void ResultBoxControl::copy() const
{
    if (m_caret.hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

QString ResultBoxControl::visibleText(qsizetype row) const
{
    const qsizetype start = m_rows.rowStart(row);
    return m_text.mid(start, m_rows.rowTextEnd(row) - start);
}

qreal ResultBoxControl::xInRow(qsizetype row, qsizetype offset) const
{
    return QFontMetricsF(m_font).horizontalAdvance(
        visibleText(row).left(offset - m_rows.rowStart(row)));
}

ResultBoxControl::Place ResultBoxControl::placeInRow(qsizetype row, qreal x) const
{
    const QString text = visibleText(row);
    const QFontMetricsF metrics(m_font);
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

qsizetype ResultBoxControl::shownRow(qsizetype offset) const
{
    return offset == m_caret.position() ? m_caret.row() : m_rows.rowOf(offset);
}

std::pair<qsizetype, qsizetype> ResultBoxControl::rowNextTo(qsizetype offset, int step) const
{
    const qsizetype row = shownRow(offset) + step;
    if (row < 0 || row >= m_rows.rowCount())
        return { -1, -1 };
    return { m_rows.rowStart(row), m_rows.rowEnd(row) };
}

bool ResultBoxControl::keyPress(QKeyEvent *event, int pageRows)
{
    if (event == QKeySequence::SelectAll)
        return selectAll(), true;
    if (event == QKeySequence::Copy)
        return copy(), true;
    for (const CaretKey &key : caretKeys) {
        if (event != key.moving && event != key.selecting)
            continue;
        const bool selecting = event == key.selecting;
        if (key.rows == 0) {
            m_caret.move(key.move, selecting);
            caretMoved(selecting);
            return true;
        }
        // A page key turns the view a page, and the caret moves a page with it.
        const int rows = key.pages ? key.rows * pageRows : key.rows;
        if (key.pages)
            emit scrollRequest(rows);
        moveVertically(rows, selecting);
        return true;
    }
    return false;
}

void ResultBoxControl::mousePress(Place place, bool selecting)
{
    m_caret.moveTo(place.offset, selecting, place.affinity);
    announceCaret();
    restartBlinking();
}

void ResultBoxControl::mouseDrag(Place place)
{
    mousePress(place, true);
}

// Also after a double click, which the window system follows with a release.
void ResultBoxControl::mouseRelease()
{
    publishSelection();
}

// A double click selects the word it hits; right of a row's end, the word before it.
void ResultBoxControl::mouseDoubleClick(Place place)
{
    const qsizetype hit
        = place.affinity == TextCaret::Affinity::Upstream ? place.offset - 1 : place.offset;
    if (hit < 0 || hit >= m_text.size())
        return;
    const auto [start, end] = TextSegments::around(m_text, hit, QAccessible::WordBoundary);
    select(start, end);
}

void ResultBoxControl::showMenu(QPoint globalPosition)
{
    QMenu menu(m_box);
    menu.addAction(menuText("&Copy", QKeySequence::Copy), this, &ResultBoxControl::copy)
        ->setEnabled(m_caret.hasSelection());
    menu.addSeparator();
    menu.addAction(
        menuText("Select All", QKeySequence::SelectAll), this, &ResultBoxControl::selectAll);
    menu.exec(globalPosition);
}

void ResultBoxControl::focusChanged()
{
    m_blinkTimer.stop();
    restartBlinking();
}

void ResultBoxControl::moveVertically(qsizetype rows, bool selecting)
{
    const qsizetype row = m_caret.row();
    const Place place = placeInRow(std::clamp<qsizetype>(row + rows, 0, m_rows.rowCount() - 1),
        xInRow(row, m_caret.position()));
    m_caret.moveTo(place.offset, selecting, place.affinity);
    caretMoved(selecting);
}

void ResultBoxControl::caretMoved(bool selecting)
{
    emit visibilityRequest(m_caret.position());
    announceCaret();
    restartBlinking();
    if (selecting)
        publishSelection();
}

void ResultBoxControl::announceCaret()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent moved(m_box, int(m_caret.position()));
    QAccessible::updateAccessibility(&moved);
    const auto [from, to] = m_caret.selection();
    QAccessibleTextSelectionEvent selected(m_box, int(from), int(to));
    QAccessible::updateAccessibility(&selected);
}

// On X11 and Wayland a selection is also offered for pasting with the middle button.
void ResultBoxControl::publishSelection() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_caret.hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void ResultBoxControl::restartBlinking()
{
    m_caretShown = m_box->hasFocus();
    if (m_caretShown && QApplication::cursorFlashTime() > 0)
        m_blinkTimer.start(QApplication::cursorFlashTime() / 2);
    emit updateRequest();
}
