#include "AboutSetup.h"

#include "BuildConfig.h"

#include <QDesktopServices>
#include <QStandardPaths>

AboutSetup AboutSetup::forThisProgram()
{
    return { QStringLiteral("http://" ZLOMKAR_UPDATE_HOST "/update.txt"),
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation), {},
        [](const QUrl &address) { QDesktopServices::openUrl(address); } };
}
