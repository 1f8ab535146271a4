#include "SavedResult.h"

#include "CatalogueText.h"
#include "CodePage1250.h"
#include "WideText.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

bool writeInPlace(const QString &fileName, const std::string &bytes)
{
    QFile device(fileName);
    return device.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && device.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

bool writeWholeOrNothing(const QString &fileName, const std::string &bytes)
{
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly)
        && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.commit();
}

} // namespace

QString composeSaveText(const QString &dividend, const QString &divisor, const QString &result)
{
    const QString lineBreak = QStringLiteral("\r\n");
    return message(103) + lineBreak + message(104) + lineBreak + lineBreak + dividend
        + QStringLiteral(" / ") + divisor + QStringLiteral(" = ") + lineBreak + result;
}

bool writeSaveText(const QString &fileName, const QString &text)
{
    const std::string bytes = CodePage1250::encode(wideView(text));
    const QFileInfo target(fileName);
    // A device such as /dev/full is written in place: a new file renamed over it would replace the
    // device and report success.
    if (target.exists() && !target.isFile() && !target.isDir())
        return writeInPlace(fileName, bytes);
    return writeWholeOrNothing(fileName, bytes);
}
