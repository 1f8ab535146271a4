#include "ResultBoxAccessible.h"

#include "ResultBox.h"

ResultBoxAccessible::ResultBoxAccessible(ResultBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{ }

QString ResultBoxAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return static_cast<const ResultBox *>(widget())->text();
    return QAccessibleWidget::text(kind);
}

QAccessible::State ResultBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QAccessibleInterface *ResultBoxAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("ResultBox") && object && object->isWidgetType())
        return new ResultBoxAccessible(static_cast<ResultBox *>(object));
    return nullptr;
}
