#pragma once

#include <QByteArrayView>
#include <functional>

class QIODevice;
struct ResultFileText;

// Writes bytes whole, or fails.
using ByteSink = std::function<bool(QByteArrayView bytes)>;

// Writes `text` in Windows-1250, the result a piece at a time, so that the memory a save needs
// beyond the text stays small. False at the first write that fails.
bool writeResultPieces(const ResultFileText &text, const ByteSink &write);

ByteSink toDevice(QIODevice &device);
