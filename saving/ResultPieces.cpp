#include "ResultPieces.h"

#include "CodePage1250.h"
#include "ResultFileText.h"
#include "WideText.h"

#include <QIODevice>
#include <algorithm>

namespace {

constexpr qsizetype pieceLength = 1 << 20;

bool writeEncoded(const ByteSink &write, QStringView text)
{
    const std::string bytes = CodePage1250::encode(wideView(text));
    return write(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

} // namespace

bool writeResultPieces(const ResultFileText &text, const ByteSink &write)
{
    if (!writeEncoded(write, text.head))
        return false;
    for (qsizetype from = 0; from < text.resultLength; from += pieceLength) {
        const qsizetype length = std::min(pieceLength, text.resultLength - from);
        if (!writeEncoded(write, text.result(from, length)))
            return false;
    }
    return true;
}

ByteSink toDevice(QIODevice &device)
{
    return [&device](QByteArrayView bytes) {
        return device.write(bytes.data(), bytes.size()) == bytes.size();
    };
}
