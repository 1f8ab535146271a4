#pragma once

#include "ResultText.h"
#include "WrappedRows.h"

#include <QAbstractScrollArea>
#include <QTimer>
#include <algorithm>

// The result box: a read-only text box for a result of any length. It keeps the text exactly as
// written, CR LF included; the user moves a caret, selects with the mouse or the keyboard and
// copies, but cannot edit. Only the rows in view are drawn, and appends are shown at most once a
// frame, so a result of millions of digits grows as fast as a short one. While the view is
// scrolled to the end it follows the growing text; scrolled up, it stays put.
class ResultBox : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ResultBox(QWidget *parent = nullptr);

    // The whole text, built afresh on every call.
    QString text() const { return m_text.toString(); }
    qsizetype length() const { return m_text.size(); }
    QString textRange(qsizetype from, qsizetype to) const { return m_text.mid(from, to - from); }
    void setText(const QString &text);
    void append(QStringView text);

    qsizetype caret() const { return m_caret; }
    // Selects from `anchor` to `caret`, which is where the caret then stands.
    void select(qsizetype anchor, qsizetype caret);
    // The selection as the offsets of its first character and of its end.
    std::pair<qsizetype, qsizetype> selection() const { return std::minmax(m_anchor, m_caret); }
    QString selectedText() const;
    void selectAll();
    void copy() const;

    // Where a character is drawn, and the character drawn at a point, in viewport coordinates.
    QRect characterRect(qsizetype offset) const;
    qsizetype offsetAt(QPoint position) const;
    // The row that holds `offset`, as the offsets of its first character and of its end.
    std::pair<qsizetype, qsizetype> rowAround(qsizetype offset) const;
    void scrollTo(qsizetype offset);

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

private:
    void relayout();
    void refresh();
    void updateScrollRange();
    int lineHeight() const;
    int rowsInView() const;
    QString visibleText(qsizetype row) const;
    qreal xOf(qsizetype offset) const;
    qsizetype offsetInRow(qsizetype row, qreal x) const;
    qsizetype nextPosition(qsizetype offset, int step) const;
    void moveCaret(qsizetype offset, bool selecting);
    void publishSelection() const;
    void restartBlinking();

    ResultText m_text;
    WrappedRows m_rows;
    qsizetype m_anchor = 0;
    qsizetype m_caret = 0;
    qsizetype m_announced = 0;
    bool m_caretShown = false;
    QTimer m_refreshTimer;
    QTimer m_blinkTimer;
};
