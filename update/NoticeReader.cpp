#include "NoticeReader.h"

#include "CodePage1250.h"
#include "ProfileString.h"

#include <QFile>

namespace {

constexpr int bufferCapacity = 128;

} // namespace

QString NoticeReader::updateText(std::string_view noticeBytes)
{
    const std::string value
        = ProfileString::read(noticeBytes, "Update", "90220", "error", bufferCapacity);
    QString text = QString::fromStdU16String(CodePage1250::decode(value));
    text.resize(bufferCapacity, QChar(u'\0'));
    return text;
}

QString NoticeReader::readUpdateText(const QString &fileName)
{
    QFile file(fileName);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return updateText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}
