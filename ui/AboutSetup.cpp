#include "AboutSetup.h"

#include "UpdateCheck.h"

#include <QCoreApplication>
#include <QDesktopServices>

AboutSetup AboutSetup::forThisProgram()
{
    return { UpdateCheck::noticeAddress(), QCoreApplication::applicationDirPath(), {},
        [](const QUrl &address) { QDesktopServices::openUrl(address); } };
}
