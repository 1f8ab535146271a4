#pragma once

#include <QFile>

// A field of /proc/self/status in bytes, such as the resident set "VmRSS:" or its peak "VmHWM:";
// 0 where there is no /proc.
inline qint64 statusBytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

inline qint64 residentBytes()
{
    return statusBytes("VmRSS:");
}

// Starts measuring the peak of the resident set afresh, from what is resident now.
inline void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
