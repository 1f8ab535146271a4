#pragma once

#include "WrappedRows.h"

#include <QAbstractScrollArea>
#include <QTimer>

// The result box. It holds the result text exactly as written, CR LF included, in one growing
// buffer; the user can scroll, select and copy but not edit it. Only the rows in view are drawn,
// and appends are shown at most once a frame, so a result of millions of digits grows as fast as
// a short one. While the view is scrolled to the end it follows the growing text; scrolled up, it
// stays put.
class ResultBox : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ResultBox(QWidget *parent = nullptr);

    const QString &text() const { return m_text; }
    void setText(const QString &text);
    void append(QStringView text);

    QString selectedText() const;
    void selectAll();
    void copy() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
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
    qsizetype offsetAt(QPoint position) const;
    void select(qsizetype anchor, qsizetype cursor);
    void publishSelection() const;

    QString m_text;
    WrappedRows m_rows;
    qsizetype m_anchor = 0;
    qsizetype m_cursor = 0;
    QTimer m_refreshTimer;
};
