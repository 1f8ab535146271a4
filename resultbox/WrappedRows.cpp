#include "WrappedRows.h"

#include <algorithm>

WrappedRows::WrappedRows(const ResultText &text)
    : m_text(text)
    , m_metrics(QFont())
{
    m_latinAdvances.fill(-1);
}

void WrappedRows::setFont(const QFont &font)
{
    m_metrics = QFontMetricsF(font);
    m_latinAdvances.fill(-1);
}

void WrappedRows::setWidth(qreal width)
{
    m_width = width;
}

void WrappedRows::layout()
{
    m_rowStarts.assign(1, 0);
    m_laidOut = 0;
    m_rowWidth = 0;
    extend();
}

void WrappedRows::extend()
{
    for (qsizetype i = m_laidOut; i < m_text.size(); ++i) {
        const char16_t c = m_text.at(i).unicode();
        if (c == u'\n') {
            m_rowStarts.push_back(i + 1);
            m_rowWidth = 0;
            continue;
        }
        // A carriage return and the second half of a surrogate pair take no room of their own, and
        // a row never starts with either.
        if (c == u'\r' || QChar::isLowSurrogate(c))
            continue;
        const qreal width = advance(c);
        if (m_rowWidth > 0 && m_rowWidth + width > m_width) {
            m_rowStarts.push_back(i);
            m_rowWidth = width;
        } else {
            m_rowWidth += width;
        }
    }
    m_laidOut = m_text.size();
}

qsizetype WrappedRows::rowEnd(qsizetype row) const
{
    return row + 1 < rowCount() ? m_rowStarts[std::size_t(row + 1)] : m_laidOut;
}

qsizetype WrappedRows::rowTextEnd(qsizetype row) const
{
    const qsizetype start = rowStart(row);
    qsizetype end = rowEnd(row);
    if (end > start && m_text.at(end - 1) == u'\n')
        --end;
    if (end > start && m_text.at(end - 1) == u'\r')
        --end;
    return end;
}

qsizetype WrappedRows::rowOf(qsizetype offset) const
{
    const auto after = std::upper_bound(m_rowStarts.begin() + 1, m_rowStarts.end(), offset);
    return qsizetype(after - m_rowStarts.begin()) - 1;
}

qreal WrappedRows::advance(char16_t c)
{
    if (c >= m_latinAdvances.size())
        return m_metrics.horizontalAdvance(QChar::isHighSurrogate(c) ? QChar(0xFFFD) : QChar(c));
    qreal &cached = m_latinAdvances[c];
    if (cached < 0)
        cached = m_metrics.horizontalAdvance(QChar(c));
    return cached;
}
