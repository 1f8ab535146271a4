#pragma once

#include <QAccessibleWidget>

class ResultBox;
class ResultBoxControl;

// Lets assistive technology read the result box as the read-only multi-line text it is, through
// the text interface: its length, any range of it, the caret and the selection. No call hands
// over the whole of a long result unless asked for all of it.
class ResultBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ResultBoxAccessible(ResultBox *box);

    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    int characterCount() const override;
    QString text(int startOffset, int endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
        int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
        int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
        int *endOffset) const override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    int selectionCount() const override;
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    static QAccessibleInterface *create(const QString &className, QObject *object);

private:
    ResultBox *box() const;
    ResultBoxControl &control() const;
    std::pair<qsizetype, qsizetype> readerSegment(
        qsizetype at, QAccessible::TextBoundaryType boundary) const;
    QString segment(int offset, QAccessible::TextBoundaryType boundary, int step, int *startOffset,
        int *endOffset) const;
};
