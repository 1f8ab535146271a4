#include "TextCaret.h"

#include "WrappedRows.h"

qsizetype TextCaret::row() const
{
    const qsizetype row = m_rows.rowOf(m_position);
    const bool atWrap
        = row > 0 && m_rows.rowStart(row) == m_position && m_rows.rowTextEnd(row - 1) == m_position;
    return atWrap && m_affinity == Affinity::Upstream ? row - 1 : row;
}

void TextCaret::moveTo(qsizetype position, bool selecting, Affinity affinity)
{
    m_position = std::clamp<qsizetype>(position, 0, m_rows.text().size());
    if (!selecting)
        m_anchor = m_position;
    m_affinity = affinity;
}

void TextCaret::select(qsizetype anchor, qsizetype position)
{
    moveTo(anchor, false);
    moveTo(position, true);
}

void TextCaret::move(Move move, bool selecting)
{
    switch (move) {
    case Move::NextCharacter:
        return moveTo(step(m_position, 1), selecting);
    case Move::PreviousCharacter:
        return moveTo(step(m_position, -1), selecting);
    case Move::RowStart:
        return moveTo(m_rows.rowStart(row()), selecting);
    case Move::RowEnd:
        return moveTo(m_rows.rowTextEnd(row()), selecting, Affinity::Upstream);
    case Move::TextStart:
        return moveTo(0, selecting);
    case Move::TextEnd:
        return moveTo(m_rows.text().size(), selecting);
    }
}

// The caret never stands between CR and LF, nor inside a surrogate pair.
qsizetype TextCaret::step(qsizetype position, int direction) const
{
    const ResultText &text = m_rows.text();
    auto inside = [&text](qsizetype i) {
        return text.splitsSurrogatePair(i)
            || (i > 0 && i < text.size() && text.at(i - 1) == u'\r' && text.at(i) == u'\n');
    };
    do
        position = std::clamp<qsizetype>(position + direction, 0, text.size());
    while (inside(position));
    return position;
}
