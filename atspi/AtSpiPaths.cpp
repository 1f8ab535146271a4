#include "AtSpiPaths.h"

#include <QAccessible>
#include <QGuiApplication>

namespace {

const QString root = AtSpiPaths::accessible + QStringLiteral("/root");

} // namespace

QAccessibleInterface *AtSpiPaths::interfaceAt(const QString &path)
{
    if (path == root)
        return QAccessible::queryAccessibleInterface(qApp);
    if (!path.startsWith(accessible + u'/'))
        return nullptr;
    bool isNumber = false;
    const QAccessible::Id id = path.mid(accessible.size() + 1).toUInt(&isNumber);
    return isNumber ? QAccessible::accessibleInterface(id) : nullptr;
}

QString AtSpiPaths::pathOf(QAccessibleInterface *interface)
{
    if (!interface || !interface->isValid())
        return QStringLiteral("/org/a11y/atspi/null");
    if (interface->role() == QAccessible::Application)
        return root;
    return accessible + u'/' + QString::number(QAccessible::uniqueId(interface));
}
