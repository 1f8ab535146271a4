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
    m_rowsOfDigits = 0;
    m_laidOut = 0;
    m_rowWidth = 0;
    extend();
}

void WrappedRows::extend()
{
    if (m_rowsOfDigits > 0) {
        if (m_text.digitsFrom() <= m_laidOut) {
            m_laidOut = m_text.size();
            return;
        }
        storeRowsOfDigits();
    }
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
            // Nothing but digits from here: the rows that follow are all alike.
            if (i >= m_text.digitsFrom() && (m_rowsOfDigits = digitsPerRow()) > 0)
                break;
        } else {
            m_rowWidth += width;
        }
    }
    m_laidOut = m_text.size();
}

qsizetype WrappedRows::rowCount() const
{
    return qsizetype(m_rowStarts.size()) + rowsOfDigits();
}

qsizetype WrappedRows::rowStart(qsizetype row) const
{
    const auto stored = qsizetype(m_rowStarts.size());
    return row < stored ? m_rowStarts[std::size_t(row)]
                        : m_rowStarts.back() + (row - stored + 1) * m_rowsOfDigits;
}

qsizetype WrappedRows::rowEnd(qsizetype row) const
{
    return row + 1 < rowCount() ? rowStart(row + 1) : m_laidOut;
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
    const auto stored = qsizetype(m_rowStarts.size());
    if (m_rowsOfDigits > 0 && offset >= m_rowStarts.back())
        return stored - 1
            + std::min((offset - m_rowStarts.back()) / m_rowsOfDigits, rowsOfDigits());
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

// Added up as the layout of one character at a time adds them, so the rows are the same.
qsizetype WrappedRows::digitsPerRow()
{
    const qreal width = advance(u'0');
    for (char16_t digit = u'1'; digit <= u'9'; ++digit)
        if (advance(digit) != width)
            return 0;
    if (width <= 0)
        return 0;
    qsizetype digits = 1;
    for (qreal rowWidth = width; rowWidth + width <= m_width; rowWidth += width)
        ++digits;
    return digits;
}

// The rows that start after the last stored row start, each at a character of the text.
qsizetype WrappedRows::rowsOfDigits() const
{
    return m_rowsOfDigits > 0 ? (m_laidOut - 1 - m_rowStarts.back()) / m_rowsOfDigits : 0;
}

// Before anything but a digit is laid out after the rows of digits.
void WrappedRows::storeRowsOfDigits()
{
    const qsizetype rows = rowsOfDigits();
    for (qsizetype row = 0; row < rows; ++row)
        m_rowStarts.push_back(m_rowStarts.back() + m_rowsOfDigits);
    const qreal width = advance(u'0');
    m_rowWidth = 0;
    for (qsizetype digit = m_rowStarts.back(); digit < m_laidOut; ++digit)
        m_rowWidth += width;
    m_rowsOfDigits = 0;
}
