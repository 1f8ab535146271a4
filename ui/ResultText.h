#pragma once

#include <QString>
#include <memory>
#include <vector>

// The result box's text. What the engine appends is digits, so appended Latin-1 characters are
// kept one byte each, in blocks that are never moved, after a head that holds anything else: a
// hundred million digits take a hundred megabytes and no more.
class ResultText
{
public:
    void set(const QString &text);
    void append(QStringView text);

    qsizetype size() const { return m_head.size() + m_tailSize; }
    QChar at(qsizetype i) const
    {
        if (i < m_head.size())
            return m_head[i];
        i -= m_head.size();
        return QChar(uchar(m_blocks[std::size_t(i / blockSize)][i % blockSize]));
    }
    QString mid(qsizetype position, qsizetype length) const;
    QString toString() const { return mid(0, size()); }

private:
    static constexpr qsizetype blockSize = 1 << 20;

    QString m_head;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    qsizetype m_tailSize = 0;
};
