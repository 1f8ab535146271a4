#include "DecimalPlacesText.h"

#include "CatalogueText.h"
#include "NumberText.h"
#include "WideText.h"

#include <cmath>

namespace {

QString number(float DecimalPlaces, const QString &decimalSeparator)
{
    return fromWide(NumberText::fromFloat(DecimalPlaces, wideView(decimalSeparator)));
}

} // namespace

QString DecimalPlacesText::prompt(float DecimalPlaces, const QString &decimalSeparator)
{
    const QString lineBreak = QStringLiteral("\r\n");
    return message(113) + lineBreak + message(114) + number(DecimalPlaces, decimalSeparator)
        + message(115) + lineBreak + message(116);
}

QString DecimalPlacesText::label(float DecimalPlaces, const QString &decimalSeparator)
{
    return message(117) + number(DecimalPlaces, decimalSeparator) + message(115)
        + QStringLiteral("   ") + message(116);
}

float DecimalPlacesText::afterAnswer(
    float PreviousDecimalPlaces, const QString &DecimalPlacesAnswer)
{
    if (DecimalPlacesAnswer.isEmpty())
        return PreviousDecimalPlaces;
    const auto answer
        = static_cast<float>(NumberText::leadingNumber(wideView(DecimalPlacesAnswer)));
    return std::isfinite(answer) ? std::fabs(answer) : PreviousDecimalPlaces;
}
