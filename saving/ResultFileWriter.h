#pragma once

#include <QString>

struct ResultFileText;

// Writes `text` in Windows-1250 as the whole new content of `fileName`, or leaves the file as it
// was when that fails, memory for the pieces included. Where no temporary file can be made beside
// it, the file is written in place with its room reserved first, so only a failure of the writing
// itself can leave it cut short. A file that only takes what is written to it in place, such as a
// device or a pipe, is written there, and only as far as that does not block.
bool writeSaveText(const QString &fileName, const ResultFileText &text);
