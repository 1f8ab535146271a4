#include "ResultPieces.h"

#include "CodePage1250.h"
#include "ResultFileText.h"
#include "WideText.h"

#include <QIODevice>
#include <algorithm>

namespace {

constexpr qsizetype pieceLength = 1 << 20;

bool writeEncoded(QIODevice &device, QStringView text)
{
    const std::string bytes = CodePage1250::encode(wideView(text));
    return device.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

} // namespace

bool writeResultPieces(QIODevice &device, const ResultFileText &text)
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
