#pragma once

#include <QLabel>

// A label of a window's design, placed where the design puts it. Its text is plain text: labels
// show catalogue messages and texts from the update notice, never markup.
template<typename Label = QLabel>
Label *designLabel(const char *name, const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *label = new Label(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    return label;
}
