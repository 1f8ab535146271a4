#include "NoticeReader.h"

#include "CodePage1250.h"
#include "ProfileString.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int bufferCapacity = 128;

// Only a regular file is read, opened without waiting and without following a link: a pipe or a
// device of that name would hold the window for ever. More than `maximumBytes` is not a notice.
QByteArray readRegularFile(const QString &fileName, qint64 maximumBytes)
{
    QFile file;
#ifdef Q_OS_UNIX
    const int handle
        = ::open(QFile::encodeName(fileName), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    struct stat status;
    const bool regular = handle >= 0 && ::fstat(handle, &status) == 0 && S_ISREG(status.st_mode);
    if (!regular || !file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (handle >= 0)
            ::close(handle);
        return {};
    }
#else
    file.setFileName(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
#endif
    const QByteArray bytes = file.read(maximumBytes + 1);
    return bytes.size() > maximumBytes ? QByteArray() : bytes;
}

} // namespace

QString NoticeReader::updateText(std::string_view noticeBytes)
{
    const std::string value
        = ProfileString::read(noticeBytes, "Update", "90220", "error", bufferCapacity);
    QString text = QString::fromStdU16String(CodePage1250::decode(value));
    text.resize(bufferCapacity, QChar(u'\0'));
    return text;
}

QString NoticeReader::readUpdateText(const QString &fileName, qint64 maximumBytes)
{
    const QByteArray bytes = readRegularFile(fileName, maximumBytes);
    return updateText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}
