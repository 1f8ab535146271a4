#pragma once

class QIODevice;
struct ResultFileText;

// Writes `text` to `device` in Windows-1250, the result a piece at a time, so that the memory a
// save needs beyond the text stays small. False at the first write that fails.
bool writeResultPieces(QIODevice &device, const ResultFileText &text);
