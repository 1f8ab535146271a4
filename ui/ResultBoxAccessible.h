#pragma once

#include <QAccessibleWidget>

class ResultBox;

// Lets assistive technology read the result box as the read-only multi-line text it is.
class ResultBoxAccessible : public QAccessibleWidget
{
public:
    explicit ResultBoxAccessible(ResultBox *box);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;

    static QAccessibleInterface *create(const QString &className, QObject *object);
};
