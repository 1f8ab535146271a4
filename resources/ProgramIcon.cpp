#include "ProgramIcon.h"

QIcon ProgramIcon::icon()
{
    return QIcon(picturePath);
}
