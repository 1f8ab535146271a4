#include "NoticeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString NoticeFile::location(const QString &folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    return QDir(folder).filePath(QStringLiteral("version"));
}

void NoticeFile::remove(const QString &path)
{
    const QFileInfo file(path);
    if (file.isFile() && !file.isSymLink())
        QFile::remove(path);
}
