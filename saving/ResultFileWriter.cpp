#include "ResultFileWriter.h"

#include "CodePage1250.h"
#include "ResultFileText.h"
#include "WideText.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <new>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// What one write takes of the result: the memory a save needs beyond the text stays this small.
constexpr qsizetype pieceLength = 1 << 20;

bool writeEncoded(QIODevice &device, QStringView text)
{
    const std::string bytes = CodePage1250::encode(wideView(text));
    return device.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

bool writeAll(QIODevice &device, const ResultFileText &text)
{
    if (!writeEncoded(device, text.head))
        return false;
    for (qsizetype from = 0; from < text.resultLength; from += pieceLength) {
        const qsizetype length = std::min(pieceLength, text.resultLength - from);
        if (!writeEncoded(device, text.result(from, length)))
            return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
// Hands `handle` to `file`, unbuffered; a handle that `file` cannot take is closed.
bool adopt(QFile &file, int handle)
{
    if (handle < 0)
        return false;
    if (file.open(
            handle, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    ::close(handle);
    return false;
}
#endif

// Opened without waiting: a pipe that nobody reads fails at once instead of holding the window, and
// one whose reader is slower fails where the pipe is full.
bool writeInPlace(const QString &fileName, const ResultFileText &text)
{
    QFile file(fileName);
#ifdef Q_OS_UNIX
    const bool opened
        = adopt(file, ::open(QFile::encodeName(fileName), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
#else
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
#endif
    return opened && writeAll(file, text);
}

// Where no temporary file can be made beside the file, as in a folder the user may not write, the
// file is written in place as a plain open would; its room is reserved first, so that a full disk
// or a size limit fails before anything of the old file is lost.
bool writeReservedInPlace(const QString &fileName, const ResultFileText &text)
{
#ifdef Q_OS_UNIX
    const int handle = ::open(QFile::encodeName(fileName), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    QFile file;
    struct stat old;
    if (!adopt(file, handle) || ::fstat(handle, &old) != 0)
        return false;
    // A character is never more than one byte in the file.
    if (::posix_fallocate(handle, 0, off_t(text.head.size() + text.resultLength)) != 0) {
        [[maybe_unused]] const int restored = ::ftruncate(handle, old.st_size);
        return false;
    }
    return writeAll(file, text) && ::ftruncate(handle, off_t(file.pos())) == 0;
#else
    return writeInPlace(fileName, text);
#endif
}

// Unbuffered, every write reports its own failure: a failure in the flush that commit() makes
// would go unnoticed, and a file cut short would replace the old one.
bool writeWholeOrNothing(const QString &fileName, const ResultFileText &text)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeReservedInPlace(fileName, text);
    return writeAll(file, text) && file.commit();
}

} // namespace

bool writeSaveText(const QString &fileName, const ResultFileText &text)
{
    try {
        const QFileInfo target(fileName);
        // A device such as /dev/full is written in place: a new file renamed over it would replace
        // the device and report success.
        if (target.exists() && !target.isFile() && !target.isDir())
            return writeInPlace(fileName, text);
        return writeWholeOrNothing(fileName, text);
    } catch (const std::bad_alloc &) {
        return false;
    }
}
