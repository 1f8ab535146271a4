#include "ResultFileText.h"

#include "CatalogueText.h"

ResultFileText composeSaveText(const QString &dividend, const QString &divisor,
    ResultFileText::Reader result, qsizetype resultLength)
{
    const QString lineBreak = QStringLiteral("\r\n");
    return { message(103) + lineBreak + message(104) + lineBreak + lineBreak + dividend
            + QStringLiteral(" / ") + divisor + QStringLiteral(" = ") + lineBreak,
        std::move(result), resultLength };
}
