#pragma once

#include "ResultBoxControl.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QTimer>

// The result box: a read-only text box for a result of any length. It keeps the text exactly as
// written, CR LF included; the user moves a caret, selects with the mouse or the keyboard and
// copies, but cannot edit; the widget's own actions join its menu after Copy. The widget scrolls
// and paints; its control decides what keys, mouse and menu do. Only the rows in view are drawn,
// and appends are shown at most once a frame, so a result of millions of digits grows as fast as a
// short one. While the view is scrolled to the end it follows the growing text; scrolled up, it
// stays put.
class ResultBox : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ResultBox(QWidget *parent = nullptr);

    ResultBoxControl &control() { return m_control; }
    const ResultBoxControl &control() const { return m_control; }

    // The whole text, built afresh on every call.
    QString text() const { return content().toString(); }
    const ResultText &content() const { return m_control.text(); }
    qsizetype length() const { return content().size(); }
    // A new text is shown from its start, the caret before it.
    void setText(const QString &text);
    void append(QStringView text);
    // Digits, one ASCII byte each.
    void appendDigits(std::string_view digits);
    // `count` characters, each the same as the one `period` before it.
    void appendRepeated(qsizetype period, qsizetype count);

    const TextCaret &caret() const { return m_control.caret(); }
    // Selects from `anchor` to `caret`, which is where the caret then stands.
    void select(qsizetype anchor, qsizetype caret) { m_control.select(anchor, caret); }
    QString selectedText() const { return m_control.selectedText(); }
    void selectAll() { m_control.selectAll(); }
    void copy() const { m_control.copy(); }

    // Where the character at `offset` is drawn, in viewport coordinates; an invalid rectangle for
    // an offset that holds no character.
    QRect characterRect(qsizetype offset) const;
    // The caret position nearest to a point of the viewport.
    qsizetype offsetAt(QPoint position) const;
    // Scrolls as little as shows the row of `offset`.
    void scrollTo(qsizetype offset);

    // Draws a bar over the `length` characters from `from`, as the repeating part of a number is
    // marked on paper; a length of nought draws none.
    void setOverline(qsizetype from, qsizetype length);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void relayout();
    void refresh();
    void refreshSoon();
    void updateScrollRange();
    int lineHeight() const;
    int rowsInView() const;
    ResultBoxControl::Place placeAt(QPoint position) const;
    QPoint caretPoint();
    void dragTo();

    ResultBoxControl m_control { this };
    QTimer m_refreshTimer;
    QBasicTimer m_dragScrollTimer;
    QPoint m_dragPosition;
    qsizetype m_overlineFrom = 0;
    qsizetype m_overlineLength = 0;
};
