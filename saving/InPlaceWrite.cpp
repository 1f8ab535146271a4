#include "InPlaceWrite.h"

#include "ResultFileText.h"
#include "ResultPieces.h"

#include <QFile>
#include <QTemporaryFile>
#include <new>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 copyPiece = 1 << 20;
constexpr int stallMs = 5000;

// Hands `handle` to `file`, unbuffered; a handle that `file` cannot take is closed.
bool adopt(QFile &file, int handle, QIODevice::OpenMode mode)
{
    if (handle < 0)
        return false;
    if (file.open(handle, mode | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    ::close(handle);
    return false;
}

bool copy(QFile &from, QFile &to, qint64 size)
{
    QByteArray piece;
    for (qint64 copied = 0; copied < size; copied += piece.size()) {
        piece = from.read(std::min(copyPiece, size - copied));
        if (piece.isEmpty() || to.write(piece) != piece.size())
            return false;
    }
    return true;
}

// Nothing better is left to do when this fails too.
void putBack(QFile &file, QFile &aside, qint64 size)
{
    if (file.seek(0) && aside.seek(0) && copy(aside, file, size))
        file.resize(size);
}

// Where the pipe or device is full, waits until it takes more: a reader slower than the save still
// gets it all, and one that takes nothing for this long is taken to read no more.
bool writeWaiting(int handle, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(handle, bytes.data(), std::size_t(bytes.size()));
        if (written > 0) {
            bytes = bytes.sliced(written);
            continue;
        }
        pollfd writable { handle, POLLOUT, 0 };
        if (written < 0 && errno == EAGAIN && ::poll(&writable, 1, stallMs) > 0)
            continue;
        if (written < 0 && errno == EINTR)
            continue;
        return false;
    }
    return true;
}

} // namespace

// Opened without waiting: a pipe that nobody reads fails at once instead of holding the window.
bool writeInPlace(const QString &fileName, const ResultFileText &text)
{
    const int handle = ::open(QFile::encodeName(fileName), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool written = writeResultPieces(
        text, [handle](QByteArrayView bytes) { return writeWaiting(handle, bytes); });
    return ::close(handle) == 0 && written;
}

// The old bytes go aside to a temporary file elsewhere and the room is reserved before anything is
// written, so a full disk or a size limit fails with the file untouched, and any later failure, an
// allocation included, puts the old bytes back. A size limit stops the new bytes and the old ones
// at the same place, so the old ones past it are never touched.
bool writeOverInPlace(const QString &fileName, const ResultFileText &text)
{
    QFile file;
    struct stat old;
    if (!adopt(file, ::open(QFile::encodeName(fileName), O_RDWR | O_CREAT | O_CLOEXEC, 0666),
            QIODevice::ReadWrite)
        || ::fstat(file.handle(), &old) != 0)
        return false;
    // A character is never more than one byte in the file.
    const off_t size = off_t(text.head.size() + text.resultLength);
    QTemporaryFile aside;
    if (!aside.open() || !copy(file, aside, old.st_size) || !aside.flush() || !file.seek(0))
        return false;
    if (::posix_fallocate(file.handle(), 0, size) != 0) {
        file.resize(old.st_size);
        return false;
    }
    bool written = false;
    try {
        written = writeResultPieces(text, toDevice(file)) && file.resize(file.pos());
    } catch (const std::bad_alloc &) { }
    if (!written)
        putBack(file, aside, old.st_size);
    return written;
}

#else

bool writeInPlace(const QString &fileName, const ResultFileText &text)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && writeResultPieces(text, toDevice(file));
}

bool writeOverInPlace(const QString &fileName, const ResultFileText &text)
{
    return writeInPlace(fileName, text);
}

#endif
