#include "WrappedRows.h"

#include <algorithm>

WrappedRows::WrappedRows()
    : m_metrics(QFont())
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

void WrappedRows::layout(const ResultText &text)
{
    m_rowStarts.assign(1, 0);
    m_laidOut = 0;
    m_rowWidth = 0;
    extend(text);
}

void WrappedRows::extend(const ResultText &text)
{
    for (qsizetype i = m_laidOut; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
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
    m_laidOut = text.size();
}

qsizetype WrappedRows::rowEnd(qsizetype row) const
{
    return row + 1 < rowCount() ? m_rowStarts[std::size_t(row + 1)] : m_laidOut;
}

qsizetype WrappedRows::rowOf(qsizetype offset) const
{
    const auto after = std::upper_bound(m_rowStarts.begin(), m_rowStarts.end(), offset);
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
