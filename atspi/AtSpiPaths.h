#pragma once

#include <QString>

class QAccessibleInterface;

// Where Qt's bridge puts the program's accessible objects on the bus: the application at
// ".../accessible/root", every other object at ".../accessible/" followed by its unique id.
namespace AtSpiPaths {

inline const QString accessible = QStringLiteral("/org/a11y/atspi/accessible");

// The object at `path`, or null where there is none.
QAccessibleInterface *interfaceAt(const QString &path);
QString pathOf(QAccessibleInterface *interface);

} // namespace AtSpiPaths
