#pragma once

#include "ResultText.h"
#include "TextCaret.h"
#include "WrappedRows.h"

#include <QAbstractScrollArea>
#include <QTimer>

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
    const ResultText &content() const { return m_text; }
    qsizetype length() const { return m_text.size(); }
    void setText(const QString &text);
    void append(QStringView text);

    const TextCaret &caret() const { return m_caret; }
    // Selects from `anchor` to `caret`, which is where the caret then stands.
    void select(qsizetype anchor, qsizetype caret);
    QString selectedText() const;
    void selectAll();
    void copy() const;

    // Where the character at `offset` is drawn, in viewport coordinates; an invalid rectangle for
    // an offset that holds no character.
    QRect characterRect(qsizetype offset) const;
    // The caret position nearest to a point of the viewport.
    qsizetype offsetAt(QPoint position) const;
    // The row that holds `offset` (the caret's row where the caret stands), or with `step` -1 or 1
    // the row before or after it, as the offsets of its first character and of its end; -1 and -1
    // where there is no such row.
    std::pair<qsizetype, qsizetype> rowNextTo(qsizetype offset, int step) const;
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
    struct Place
    {
        qsizetype offset;
        TextCaret::Affinity affinity;
    };

    void relayout();
    void refresh();
    void updateScrollRange();
    int lineHeight() const;
    int rowsInView() const;
    qsizetype shownRow(qsizetype offset) const;
    QString visibleText(qsizetype row) const;
    qreal xInRow(qsizetype row, qsizetype offset) const;
    Place placeInRow(qsizetype row, qreal x) const;
    Place placeAt(QPoint position) const;
    void moveVertically(qsizetype rows, bool selecting);
    void caretMoved(bool selecting);
    void announceCaret();
    void publishSelection() const;
    void restartBlinking();

    ResultText m_text;
    WrappedRows m_rows { m_text };
    TextCaret m_caret { m_rows };
    qsizetype m_announced = 0;
    bool m_caretShown = false;
    QTimer m_refreshTimer;
    QTimer m_blinkTimer;
};
