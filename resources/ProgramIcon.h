#pragma once

#include <QIcon>
#include <QString>

// The program's icon: a 32 x 32, 256-colour picture, for the main window and the About window.
namespace ProgramIcon {

inline const QString picturePath = QStringLiteral(":/icons/zlomkar-32-256colour.png");

QIcon icon();

} // namespace ProgramIcon
