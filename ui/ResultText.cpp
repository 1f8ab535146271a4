#include "ResultText.h"

#include <algorithm>

void ResultText::set(const QString &text)
{
    m_head = text;
    m_tail = QByteArray();
}

void ResultText::append(QStringView text)
{
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
        m_head = toString().append(text);
        m_tail.clear();
        return;
    }
    // Grown by an eighth at a time, the buffer holds little more than the text.
    if (m_tail.capacity() - m_tail.size() < text.size())
        m_tail.reserve(m_tail.size() + text.size() + m_tail.size() / 8 + 4096);
    for (QChar c : text)
        m_tail.append(char(c.unicode()));
}

QString ResultText::mid(qsizetype position, qsizetype length) const
{
    position = std::clamp<qsizetype>(position, 0, size());
    length = std::clamp<qsizetype>(length, 0, size() - position);
    const qsizetype fromHead = std::clamp<qsizetype>(m_head.size() - position, 0, length);
    return m_head.mid(position, fromHead)
        + QString::fromLatin1(m_tail.constData() + std::max<qsizetype>(0, position - m_head.size()),
            length - fromHead);
}
