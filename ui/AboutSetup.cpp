#include "AboutSetup.h"

#include "BuildConfig.h"

#include <QCoreApplication>
#include <QDesktopServices>

AboutSetup AboutSetup::forThisProgram()
{
    return { QStringLiteral("http://" ZLOMKAR_UPDATE_HOST "/update.txt"),
        QCoreApplication::applicationDirPath(), {},
        [](const QUrl &address) { QDesktopServices::openUrl(address); } };
}
