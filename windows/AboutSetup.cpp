#include "AboutSetup.h"

#include "BuildConfig.h"
#include "UserFolders.h"

#include <QDesktopServices>

AboutSetup AboutSetup::forThisProgram()
{
    return { QStringLiteral("http://" ZLOMKAR_UPDATE_HOST "/update.txt"),
        UserFolders::programCache(), {},
        [](const QUrl &address) { QDesktopServices::openUrl(address); } };
}
