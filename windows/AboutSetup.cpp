#include "AboutSetup.h"

#include "BuildConfig.h"

#include <QDesktopServices>
#include <QDir>
#include <QStandardPaths>

namespace {

// By the XDG rules a relative XDG_CACHE_HOME is ignored; without a home of its own the program
// keeps no notice rather than one at the root of the file system or in the current folder.
QString cacheFolder()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString cacheHome = qEnvironmentVariable("XDG_CACHE_HOME");
    const QString home = qEnvironmentVariable("HOME");
    if (QDir::isAbsolutePath(cacheHome))
        return cacheHome + QStringLiteral("/" ZLOMKAR_PRODUCT_NAME);
    return QDir::isAbsolutePath(home) ? home + QStringLiteral("/.cache/" ZLOMKAR_PRODUCT_NAME)
                                      : QString();
#else
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
#endif
}

} // namespace

AboutSetup AboutSetup::forThisProgram()
{
    return { QStringLiteral("http://" ZLOMKAR_UPDATE_HOST "/update.txt"), cacheFolder(), {},
        [](const QUrl &address) { QDesktopServices::openUrl(address); } };
}
