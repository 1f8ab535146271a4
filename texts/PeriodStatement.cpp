#include "PeriodStatement.h"

#include "CatalogueText.h"

#include <QLocale>

namespace {

QString czechNumber(qint64 number)
{
    return QLocale(QLocale::Czech).toString(number);
}

QString digitCount(qint64 count)
{
    return czechNumber(count) + message(count >= 1 && count <= 4 ? 129 : 130);
}

} // namespace

QString periodStatement(const Period &period, qint64 digitLimit)
{
    switch (period.kind) {
    case Period::Kind::Ends:
        return message(125);
    case Period::Kind::BeyondLimit:
        return message(133) + czechNumber(digitLimit) + message(115);
    case Period::Kind::Repeats:
        break;
    }
    const QString before = period.preperiod
        ? message(127) + digitCount(period.preperiod) + message(128)
        : message(126);
    return before + digitCount(period.length) + message(131) + czechNumber(period.preperiod + 1)
        + message(132);
}
