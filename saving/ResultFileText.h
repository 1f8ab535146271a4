#pragma once

#include <QString>
#include <functional>

// The saved result: messages 103 and 104, an empty line, "dividend / divisor = " and the result
// text as it stands when the text is composed, with no line break added after it. The result is
// not copied: a long one is read from where it is kept, a piece at a time, while it is written.
struct ResultFileText
{
    using Reader = std::function<QString(qsizetype position, qsizetype length)>;

    QString head;
    // Reads `length` characters of the result from `position`.
    Reader result;
    qsizetype resultLength = 0;
};

ResultFileText composeSaveText(const QString &dividend, const QString &divisor,
    ResultFileText::Reader result, qsizetype resultLength);
