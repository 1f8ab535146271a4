#include "ProgramIcon.h"

QIcon ProgramIcon::icon()
{
    QIcon icon(picturePath);
    for (const QString &path : themeSizePaths)
        icon.addFile(path);
    return icon;
}
