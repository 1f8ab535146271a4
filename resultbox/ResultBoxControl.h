#pragma once

#include "ResultText.h"
#include "TextCaret.h"
#include "WrappedRows.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFont>
#include <QObject>
#include <QTimer>
#include <optional>

class QKeyEvent;
class QWidget;

// What the result box does, apart from scrolling and painting: it owns the text, its rows, the
// caret and the selection, and decides what the keys, the mouse and the menu do with them; it
// copies, offers the selection for pasting with the middle button, blinks the caret and tells
// assistive technology of every change. Positions are in the text's own coordinates: a row and an
// x from the row's left edge.
class ResultBoxControl : public QObject
{
    Q_OBJECT

public:
    struct Place
    {
        qsizetype offset;
        TextCaret::Affinity affinity;
        qsizetype row;
    };

    // `box` is the widget that shows the text: what assistive technology is told comes from it.
    explicit ResultBoxControl(QWidget *box);

    const ResultText &text() const { return m_text; }
    const WrappedRows &rows() const { return m_rows; }
    const TextCaret &caret() const { return m_caret; }
    bool caretShown() const { return m_caretShown; }

    // A new text, the caret before it.
    void setText(const QString &text);
    void append(QStringView text);
    void appendDigits(std::string_view digits);
    void appendRepeated(qsizetype period, qsizetype count);
    // Tells assistive technology of what was appended since it was last told.
    void announceAppended();

    // Lays the text out afresh in rows of `width` in `font`.
    void layout(const QFont &font, qreal width);

    void select(qsizetype anchor, qsizetype caret);
    QString selectedText() const;
    void selectAll();
    void copy() const;

    // The row's characters without the line break that ends it.
    QString visibleText(qsizetype row) const;
    qreal xInRow(qsizetype row, qsizetype offset) const;
    // The caret position nearest to `x` in `row`; right of the row's last character it stands at
    // the row's end, upstream, so a wrapped row keeps it.
    Place placeInRow(qsizetype row, qreal x) const;
    // The row that holds `offset`, the caret's row where the caret stands.
    qsizetype shownRow(qsizetype offset) const;
    // That row, or with `step` -1 or 1 the row before or after it, as the offsets of its first
    // character and of its end; -1 and -1 where there is no such row.
    std::pair<qsizetype, qsizetype> rowNextTo(qsizetype offset, int step) const;

    // A key of a text box; false for a key that is not one. A page is `pageRows` rows.
    bool keyPress(QKeyEvent *event, int pageRows);
    // `position` is where the button was pressed, in the view.
    void mousePress(Place place, bool selecting, QPoint position);
    void mouseDrag(Place place);
    void mouseRelease();
    void mouseDoubleClick(Place place, QPoint position);
    void showMenu(QPoint globalPosition);
    void focusChanged();

signals:
    void updateRequest();
    // Asks the view to show the row of `offset`.
    void visibilityRequest(qsizetype offset);
    // Asks the view to turn by `rows` rows, as a page key does.
    void scrollRequest(int rows);

private:
    qsizetype wordEdge(int direction) const;
    void moveCaret(Place place, bool selecting);
    void moveVertically(qsizetype rows, bool selecting, std::optional<qreal> verticalX);
    void caretMoved(bool selecting);
    void announceCaret();
    void publishSelection() const;
    void offerSelection(QClipboard::Mode mode) const;
    void restartBlinking();

    QWidget *m_box;
    ResultText m_text;
    WrappedRows m_rows { m_text };
    TextCaret m_caret { m_rows };
    QFont m_font;
    qsizetype m_announced = 0;
    std::optional<qreal> m_verticalX;
    QElapsedTimer m_sinceDoubleClick;
    QPoint m_doubleClickAt;
    // The word a double click selected, while its button is held: a drag only adds to it.
    std::optional<std::pair<qsizetype, qsizetype>> m_heldWord;
    bool m_caretShown = false;
    QTimer m_blinkTimer;
};
