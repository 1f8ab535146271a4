#pragma once

#include <QByteArray>
#include <QString>

// The result box's text. What the engine appends is digits, so appended Latin-1 characters are
// kept one byte each after a head that holds anything else: a hundred million digits take about
// a hundred megabytes.
class ResultText
{
public:
    void set(const QString &text);
    void append(QStringView text);

    qsizetype size() const { return m_head.size() + m_tail.size(); }
    QChar at(qsizetype i) const
    {
        return i < m_head.size() ? m_head[i] : QChar(uchar(m_tail[i - m_head.size()]));
    }
    QString mid(qsizetype position, qsizetype length) const;
    QString toString() const { return mid(0, size()); }

private:
    QString m_head;
    QByteArray m_tail;
};
