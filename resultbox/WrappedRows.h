#pragma once

#include "ResultText.h"

#include <QFontMetricsF>
#include <array>
#include <vector>

// Breaks a text into the rows of a box of a given width: at every line feed, and wherever the next
// character would not fit. Appended text is laid out on its own, so a growing text costs the same
// per character at any length. Where the digits are all as wide, every row of a run of digits holds
// as many: such rows are laid out a run at a time and never stored, so a hundred million digits
// cost what a few do.
class WrappedRows
{
public:
    explicit WrappedRows(const ResultText &text);

    void setFont(const QFont &font);
    void setWidth(qreal width);

    // Lays out the text afresh.
    void layout();
    // Lays out the characters beyond the ones laid out so far.
    void extend();

    const ResultText &text() const { return m_text; }
    qsizetype rowCount() const;
    qsizetype rowStart(qsizetype row) const;
    // Where the row ends with its line break: the start of the next row, or the end of the text.
    qsizetype rowEnd(qsizetype row) const;
    // Where the row's characters end, before its line break. Where a row wraps without one, this
    // is also the next row's start.
    qsizetype rowTextEnd(qsizetype row) const;
    // The row that holds the character at `offset`, the last row for the end of the text.
    qsizetype rowOf(qsizetype offset) const;

private:
    qreal advance(char16_t c);
    // How many digits a row holds; nought where digits differ in width.
    qsizetype digitsPerRow();
    qsizetype rowsOfDigits() const;
    void storeRowsOfDigits();

    const ResultText &m_text;
    QFontMetricsF m_metrics;
    std::array<qreal, 256> m_latinAdvances {};
    qreal m_width = 0;
    std::vector<qsizetype> m_rowStarts { 0 };
    // From the last stored row start on, rows of this many digits each; none where nought.
    qsizetype m_rowsOfDigits = 0;
    qsizetype m_laidOut = 0;
    qreal m_rowWidth = 0;
};
