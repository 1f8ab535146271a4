#include "ResultFileWriter.h"

#include "HeldEndSignals.h"
#include "InPlaceWrite.h"
#include "QuietWriteSignals.h"
#include "ResultPieces.h"

#include <QFileInfo>
#include <QSaveFile>
#include <new>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The new file keeps the old one's mode, and its owner and group where the user may set them; Qt
// would carry over the permission bits alone.
void keepOwnerAndMode(const QString &fileName, int handle)
{
#ifdef Q_OS_UNIX
    struct stat old;
    if (::stat(QFile::encodeName(fileName), &old) != 0)
        return;
    if (::fchown(handle, old.st_uid, old.st_gid) != 0) [[maybe_unused]]
        const int groupOnly = ::fchown(handle, uid_t(-1), old.st_gid);
    ::fchmod(handle, old.st_mode & 07777);
#endif
}

// Unbuffered, every write reports its own failure: a failure in the flush that commit() makes
// would go unnoticed, and a file cut short would replace the old one.
bool writeWholeOrNothing(const QString &fileName, const ResultFileText &text)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeOverInPlace(fileName, text);
    keepOwnerAndMode(fileName, file.handle());
    return writeResultPieces(text, toDevice(file)) && file.commit();
}

} // namespace

bool writeSaveText(const QString &fileName, const ResultFileText &text)
{
    const HeldEndSignals held;
    const QuietWriteSignals quiet;
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
