#include "ResultText.h"

#include "FreshMemory.h"

#include <algorithm>
#include <cstring>

void ResultText::set(const QString &text)
{
    m_head = text;
    m_headDigitsFrom = m_head.size();
    while (m_headDigitsFrom > 0 && isDigit(m_head[m_headDigitsFrom - 1]))
        --m_headDigitsFrom;
    m_blocks.clear();
    m_tailSize = 0;
    m_tailIsDigits = true;
    m_repeatPeriod = 0;
}

void ResultText::append(QStringView text)
{
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
        set(toString().append(text));
        return;
    }
    // A block's part at a time, in a loop simple enough for the compiler to do many characters at
    // once: a run's pieces are tens of thousands of digits.
    bool digits = true;
    for (qsizetype from = 0; from < text.size();) {
        if (m_tailSize % blockSize == 0)
            m_blocks.push_back(freshBlock(blockSize));
        const qsizetype count = std::min(blockSize - m_tailSize % blockSize, text.size() - from);
        const char16_t *source = text.utf16() + from;
        char *target = m_blocks.back().get() + m_tailSize % blockSize;
        for (qsizetype i = 0; i < count; ++i) {
            target[i] = char(source[i]);
            digits &= isDigit(QChar(source[i]));
        }
        from += count;
        m_tailSize += count;
    }
    m_tailIsDigits = m_tailIsDigits && digits;
    m_repeatPeriod = 0;
}

void ResultText::appendDigits(std::string_view digits)
{
    if (digits.empty())
        return;
    for (std::size_t from = 0; from < digits.size();) {
        if (m_tailSize % blockSize == 0)
            m_blocks.push_back(freshBlock(blockSize));
        const auto count
            = std::min(std::size_t(blockSize - m_tailSize % blockSize), digits.size() - from);
        std::memcpy(tailAt(m_tailSize), digits.data() + from, count);
        from += count;
        m_tailSize += qsizetype(count);
    }
    m_repeatPeriod = 0;
}

// Once `period` characters repeat, so do all whole periods since, and each copy doubles the span
// the next may take.
void ResultText::appendRepeated(qsizetype period, qsizetype count)
{
    if (period != m_repeatPeriod) {
        m_repeatPeriod = period;
        m_repeatsFrom = m_tailSize - period;
    }
    while (count > 0) {
        const qsizetype span = std::min((m_tailSize - m_repeatsFrom) / period * period, count);
        appendFromTail(m_tailSize - (m_tailSize - m_repeatsFrom) / period * period, span);
        count -= span;
    }
}

void ResultText::appendFromTail(qsizetype from, qsizetype count)
{
    for (const qsizetype end = from + count; from < end;) {
        if (m_tailSize % blockSize == 0)
            m_blocks.push_back(freshBlock(blockSize));
        const qsizetype piece = std::min(
            { end - from, blockSize - from % blockSize, blockSize - m_tailSize % blockSize });
        std::memcpy(tailAt(m_tailSize), tailAt(from), std::size_t(piece));
        from += piece;
        m_tailSize += piece;
    }
}

QString ResultText::mid(qsizetype position, qsizetype length) const
{
    position = std::clamp<qsizetype>(position, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - position);
    QString text = m_head.mid(position, length);
    text.reserve(length);
    for (qsizetype i = std::max(position, m_head.size()) - m_head.size(); text.size() < length;) {
        const qsizetype count = std::min(blockSize - i % blockSize, length - text.size());
        text.append(
            QLatin1StringView(m_blocks[std::size_t(i / blockSize)].get() + i % blockSize, count));
        i += count;
    }
    return text;
}

QByteArray ResultText::utf8(qsizetype position, qsizetype length) const
{
    position = std::clamp<qsizetype>(position, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - position);
    const qsizetype inHead = std::clamp<qsizetype>(m_head.size() - position, 0, length);
    QByteArray bytes = QStringView(m_head).mid(position, inHead).toUtf8();
    // Digits are the same bytes in UTF-8, other characters of the blocks take two.
    bytes.reserve(bytes.size() + (m_tailIsDigits ? 1 : 2) * (length - inHead));
    for (qsizetype i = std::max(position, m_head.size()) - m_head.size(),
                   end = position + length - m_head.size();
         i < end;) {
        const qsizetype count = std::min(blockSize - i % blockSize, end - i);
        const QLatin1StringView piece(
            m_blocks[std::size_t(i / blockSize)].get() + i % blockSize, count);
        m_tailIsDigits ? bytes.append(piece.data(), count) : bytes.append(QString(piece).toUtf8());
        i += count;
    }
    return bytes;
}
