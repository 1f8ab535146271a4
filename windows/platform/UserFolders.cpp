#include "UserFolders.h"

#include "BuildConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString usableHome()
{
    const QString home = qEnvironmentVariable("HOME");
    return UserFolders::isUsableHome(home) ? home : QString();
}

} // namespace

bool UserFolders::isUsableHome(const QString &path)
{
    if (!QDir::isAbsolutePath(path) || QFileInfo(path).canonicalFilePath() == QDir::rootPath())
        return false;
#ifdef Q_OS_UNIX
    struct stat folder;
    return ::stat(QFile::encodeName(path), &folder) == 0 && S_ISDIR(folder.st_mode)
        && folder.st_uid == ::getuid() && ::access(QFile::encodeName(path), W_OK) == 0;
#else
    return QFileInfo(path).isDir() && QFileInfo(path).isWritable();
#endif
}

QString UserFolders::xdgFolder(const QString &xdgValue, const QString &home, const QString &inHome)
{
    if (QDir::isAbsolutePath(xdgValue))
        return xdgValue;
    return home.isEmpty() ? QString() : home + u'/' + inHome;
}

QString UserFolders::programCache()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString cache
        = xdgFolder(qEnvironmentVariable("XDG_CACHE_HOME"), usableHome(), QStringLiteral(".cache"));
    return cache.isEmpty() ? cache : cache + QStringLiteral("/" ZLOMKAR_PRODUCT_NAME);
#else
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
#endif
}

void UserFolders::keepQtSettingsAtHome()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString xdgConfig = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdgConfig.isEmpty() && !QDir::isAbsolutePath(xdgConfig))
        qunsetenv("XDG_CONFIG_HOME");
    const QString config = xdgFolder(xdgConfig, usableHome(), QStringLiteral(".config"));
    // Under a file, where no folder can be made and no file read.
    const QString folder = config.isEmpty() ? QStringLiteral("/dev/null") : config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
#endif
}
