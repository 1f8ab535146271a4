#pragma once

#include <QtGlobal>
#include <algorithm>
#include <utility>

class WrappedRows;

// The caret and the anchor of the selection in a text broken into rows, and the caret moves of a
// text box's keys. Where a row wraps without a line break, the end of the row and the start of the
// next are one offset; the caret's affinity tells which of the two rows it stands on, as in any
// text editor: upstream at the end of the upper row, downstream at the start of the lower.
class TextCaret
{
public:
    enum class Affinity { Downstream, Upstream };
    enum class Move { NextCharacter, PreviousCharacter, RowStart, RowEnd, TextStart, TextEnd };

    explicit TextCaret(const WrappedRows &rows)
        : m_rows(rows)
    { }

    qsizetype position() const { return m_position; }
    // The selection as the offsets of its first character and of its end.
    std::pair<qsizetype, qsizetype> selection() const { return std::minmax(m_anchor, m_position); }
    bool hasSelection() const { return m_anchor != m_position; }
    // The row the caret is drawn on.
    qsizetype row() const;

    // Puts the caret at `position` in the text; the anchor stays where it is when `selecting`, and
    // comes along otherwise.
    void moveTo(qsizetype position, bool selecting, Affinity affinity = Affinity::Downstream);
    void select(qsizetype anchor, qsizetype position);
    void move(Move move, bool selecting);

private:
    qsizetype step(qsizetype position, int direction) const;

    const WrappedRows &m_rows;
    qsizetype m_anchor = 0;
    qsizetype m_position = 0;
    Affinity m_affinity = Affinity::Downstream;
};
