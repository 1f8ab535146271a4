#include "ResultBoxControl.h"

#include "CaretKeys.h"
#include "SelectedTextData.h"
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
    m_verticalX.reset();
    m_announced = m_text.size();
    if (readerActive) {
        QAccessibleTextUpdateEvent event(m_box, 0, replaced, text);
        QAccessible::updateAccessibility(&event);
    }
    announceCaret();
    emit updateRequest();
}

void ResultBoxControl::append(QStringView text)
{
    m_text.append(text);
    m_rows.extend();
}

void ResultBoxControl::appendDigits(std::string_view digits)
{
    m_text.appendDigits(digits);
    m_rows.extend();
}

void ResultBoxControl::appendRepeated(qsizetype period, qsizetype count)
{
    m_text.appendRepeated(period, count);
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
    m_verticalX.reset();
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
    offerSelection(QClipboard::Clipboard);
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
        column == text.size() ? TextCaret::Affinity::Upstream : TextCaret::Affinity::Downstream,
        row };
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
    // Up and Down one after the other keep the x where the first of them started.
    const std::optional<qreal> verticalX = std::exchange(m_verticalX, std::nullopt);
    if (event == QKeySequence::SelectAll)
        return selectAll(), true;
    if (event == QKeySequence::Copy)
        return copy(), true;
    const std::optional<CaretKey> key = caretKeyFor(event);
    if (!key)
        return false;
    switch (key->kind) {
    case CaretKey::Kind::Along:
        m_caret.move(key->move, key->selecting);
        break;
    case CaretKey::Kind::Word:
        m_caret.moveTo(wordEdge(key->direction), key->selecting);
        break;
    case CaretKey::Kind::Row:
        moveVertically(key->direction, key->selecting, verticalX);
        return true;
    case CaretKey::Kind::Page:
        // The view turns a page, and the caret moves a page with it.
        emit scrollRequest(key->direction * pageRows);
        moveVertically(key->direction * pageRows, key->selecting, verticalX);
        return true;
    }
    caretMoved(key->selecting);
    return true;
}

// Where a word that the caret stands in or beside ends (1) or starts (-1): the same words a double
// click selects, so a number of any length is one step.
qsizetype ResultBoxControl::wordEdge(int direction) const
{
    const qsizetype at = m_caret.position() - (direction < 0);
    if (at < 0 || at >= m_text.size())
        return m_caret.position();
    const auto [start, end] = TextSegments::around(m_text, at, QAccessible::WordBoundary);
    return direction < 0 ? start : end;
}

// A press soon after a double click and where it was is the third click, which selects the row it
// hits, as Qt's own text boxes have it.
void ResultBoxControl::mousePress(Place place, bool selecting, QPoint position)
{
    m_heldWord.reset();
    const bool thirdClick = !selecting && m_sinceDoubleClick.isValid()
        && !m_sinceDoubleClick.hasExpired(QApplication::doubleClickInterval())
        && (position - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance();
    m_sinceDoubleClick.invalidate();
    if (thirdClick)
        select(m_rows.rowStart(place.row), m_rows.rowTextEnd(place.row));
    else
        moveCaret(place, selecting);
}

void ResultBoxControl::mouseDrag(Place place)
{
    if (!m_heldWord)
        return moveCaret(place, true);
    const auto [start, end] = *m_heldWord;
    if (place.offset < start)
        select(end, place.offset);
    else
        select(start, std::max(end, place.offset));
}

// Also after a double click, which the window system follows with a release.
void ResultBoxControl::mouseRelease()
{
    m_heldWord.reset();
    publishSelection();
}

// A double click selects the word it hits; right of a row's end, the word before it.
void ResultBoxControl::mouseDoubleClick(Place place, QPoint position)
{
    const qsizetype hit
        = place.affinity == TextCaret::Affinity::Upstream ? place.offset - 1 : place.offset;
    m_sinceDoubleClick.start();
    m_doubleClickAt = position;
    if (hit < 0 || hit >= m_text.size())
        return;
    const auto word = TextSegments::around(m_text, hit, QAccessible::WordBoundary);
    select(word.first, word.second);
    m_heldWord = word;
}

void ResultBoxControl::showMenu(QPoint globalPosition)
{
    QMenu menu(m_box);
    menu.addAction(menuText("&Copy", QKeySequence::Copy), this, &ResultBoxControl::copy)
        ->setEnabled(m_caret.hasSelection());
    menu.addActions(m_box->actions());
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

void ResultBoxControl::moveCaret(Place place, bool selecting)
{
    m_caret.moveTo(place.offset, selecting, place.affinity);
    m_verticalX.reset();
    announceCaret();
    restartBlinking();
}

void ResultBoxControl::moveVertically(
    qsizetype rows, bool selecting, std::optional<qreal> verticalX)
{
    const qsizetype row = m_caret.row();
    const qreal x = verticalX.value_or(xInRow(row, m_caret.position()));
    const Place place = placeInRow(std::clamp<qsizetype>(row + rows, 0, m_rows.rowCount() - 1), x);
    m_caret.moveTo(place.offset, selecting, place.affinity);
    caretMoved(selecting);
    m_verticalX = x;
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
    if (QGuiApplication::clipboard()->supportsSelection())
        offerSelection(QClipboard::Selection);
}

void ResultBoxControl::offerSelection(QClipboard::Mode mode) const
{
    const auto [from, to] = m_caret.selection();
    if (from < to)
        QGuiApplication::clipboard()->setMimeData(new SelectedTextData(m_text, from, to), mode);
}

void ResultBoxControl::restartBlinking()
{
    m_caretShown = m_box->hasFocus();
    if (m_caretShown && QApplication::cursorFlashTime() > 0)
        m_blinkTimer.start(QApplication::cursorFlashTime() / 2);
    emit updateRequest();
}
