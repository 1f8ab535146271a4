#pragma once

#include <QString>
#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

// The result box's text. What the engine appends is digits, so appended Latin-1 characters are
// kept one byte each, in blocks that are never moved, after a head that holds anything else: a
// hundred million digits take a hundred megabytes and no more. A copy shares the blocks: it costs a
// pointer a block, and keeps the text as it was when copied, whatever is set or appended later.
class ResultText
{
public:
    void set(const QString &text);
    void append(QStringView text);
    // Appends digits, one ASCII byte each, as they are: the blocks are written once.
    void appendDigits(std::string_view digits);
    // Appends `count` characters, each the same as the one `period` before it; the characters
    // copied lie after the head.
    void appendRepeated(qsizetype period, qsizetype count);

    static bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

    qsizetype size() const { return m_head.size() + m_tailSize; }
    QChar at(qsizetype i) const
    {
        if (i < m_head.size())
            return m_head[i];
        i -= m_head.size();
        return QChar(uchar(m_blocks[std::size_t(i / blockSize)][i % blockSize]));
    }
    // Whether offset `i` stands between the two halves of a surrogate pair, inside one character.
    bool splitsSurrogatePair(qsizetype i) const
    {
        return i > 0 && i < size() && at(i - 1).isHighSurrogate() && at(i).isLowSurrogate();
    }
    QString mid(qsizetype position, qsizetype length) const;
    // The same characters in UTF-8, made without a UTF-16 copy of them.
    QByteArray utf8(qsizetype position, qsizetype length) const;
    QString toString() const { return mid(0, size()); }

    // Every character from this offset on is a digit.
    qsizetype digitsFrom() const { return m_tailIsDigits ? m_headDigitsFrom : size(); }

    // The first offset from `from` on whose character meets `found`, or size(); and the last
    // offset before `before` that does, or -1. They read the blocks directly, and pass over blocks
    // that hold only digits at once where no digit meets `found`, so they cross a hundred million
    // digits within a frame.
    template<typename Found> qsizetype findForward(qsizetype from, Found found) const;
    template<typename Found> qsizetype findBackward(qsizetype before, Found found) const;

private:
    static constexpr qsizetype blockSize = 2 << 20;

    char *tailAt(qsizetype offset) const
    {
        return m_blocks[std::size_t(offset / blockSize)].get() + offset % blockSize;
    }
    // Appends `count` bytes copied from the tail at `from`, which ends no later than the tail.
    void appendFromTail(qsizetype from, qsizetype count);

    template<typename Found> bool passesOverDigits(Found found) const
    {
        return m_tailIsDigits && std::none_of(u"0123456789", u"0123456789" + 10, found);
    }

    QString m_head;
    qsizetype m_headDigitsFrom = 0;
    std::vector<std::shared_ptr<char[]>> m_blocks;
    qsizetype m_tailSize = 0;
    bool m_tailIsDigits = true;
    // Where the tail began to repeat with this period; copies may span whole periods from there.
    qsizetype m_repeatsFrom = 0;
    qsizetype m_repeatPeriod = 0;
};

template<typename Found> qsizetype ResultText::findForward(qsizetype from, Found found) const
{
    qsizetype i = std::max<qsizetype>(from, 0);
    for (; i < m_head.size(); ++i)
        if (found(m_head[i]))
            return i;
    if (passesOverDigits(found))
        return size();
    for (qsizetype t = i - m_head.size(); t < m_tailSize;) {
        const char *block = m_blocks[std::size_t(t / blockSize)].get();
        for (const qsizetype end = std::min(m_tailSize, (t / blockSize + 1) * blockSize); t < end;
             ++t)
            if (found(QChar(uchar(block[t % blockSize]))))
                return m_head.size() + t;
    }
    return size();
}

template<typename Found> qsizetype ResultText::findBackward(qsizetype before, Found found) const
{
    for (qsizetype t = passesOverDigits(found) ? 0 : std::min(before, size()) - m_head.size();
         t > 0;) {
        const char *block = m_blocks[std::size_t((t - 1) / blockSize)].get();
        for (const qsizetype start = (t - 1) / blockSize * blockSize; t > start; --t)
            if (found(QChar(uchar(block[(t - 1) % blockSize]))))
                return m_head.size() + t - 1;
    }
    for (qsizetype i = std::min(before, m_head.size()); i > 0; --i)
        if (found(m_head[i - 1]))
            return i - 1;
    return -1;
}
