#include "NoticeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const QString fileName = QStringLiteral("version");

// Asks the file system itself, the way the download will write: permission bits do not tell,
// since root writes in a read-only directory and nobody creates files in /proc.
bool acceptsNewFiles(const QString &directory)
{
    QTemporaryFile probe(QDir(directory).filePath(fileName + QStringLiteral("-XXXXXX")));
    return probe.open();
}

} // namespace

QString NoticeFile::location(const QString &programDirectory)
{
    if (acceptsNewFiles(programDirectory))
        return QDir(programDirectory).filePath(fileName);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(cache);
    return QDir(cache).filePath(fileName);
}

void NoticeFile::remove(const QString &path)
{
    const QFileInfo file(path);
    if (file.isFile() && !file.isSymLink())
        QFile::remove(path);
}
