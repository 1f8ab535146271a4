#pragma once

#include <QString>

struct ResultFileText;

// Writes `text` into a file that only takes what is written to it where it is, such as a device or
// a pipe, and only as far as that does not block.
bool writeInPlace(const QString &fileName, const ResultFileText &text);

// Writes `text` over the regular file `fileName` in place, as a plain open would, for where no
// temporary file can be made beside it. The file ends with its new bytes or with its old ones.
bool writeOverInPlace(const QString &fileName, const ResultFileText &text);
