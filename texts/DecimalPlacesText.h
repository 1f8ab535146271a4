#pragma once

#include <QString>

// The texts of the decimal-places setting, and how an answer to its prompt changes it.
namespace DecimalPlacesText {

QString prompt(float DecimalPlaces, const QString &decimalSeparator);
QString label(float DecimalPlaces, const QString &decimalSeparator);

// The new setting after `answer`: the previous one for an empty answer or a number no float can
// hold, otherwise the magnitude of the answer's leading number.
float afterAnswer(float PreviousDecimalPlaces, const QString &DecimalPlacesAnswer);

} // namespace DecimalPlacesText
