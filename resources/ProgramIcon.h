#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The program's icon: a 32 x 32, 256-colour picture, with the same design drawn at the other
// sizes of the icon theme so that it stays sharp where the screen scales it.
namespace ProgramIcon {

inline const QString picturePath = QStringLiteral(":/icons/zlomkar-32-256colour.png");
inline const QStringList themeSizePaths = {
    QStringLiteral(":/icons/hicolor/16x16/apps/zlomkar.png"),
    QStringLiteral(":/icons/hicolor/48x48/apps/zlomkar.png"),
    QStringLiteral(":/icons/hicolor/64x64/apps/zlomkar.png"),
    QStringLiteral(":/icons/hicolor/128x128/apps/zlomkar.png"),
};

QIcon icon();

} // namespace ProgramIcon
