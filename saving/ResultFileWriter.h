#pragma once

#include <QString>

struct ResultFileText;

// Writes `text` in Windows-1250 as the whole new content of `fileName`, or leaves the file as it
// was when that fails, memory for the pieces included. Where no temporary file can be made beside
// it, the file is written in place, its old bytes kept aside until the new ones are all written. A
// file that only takes what is written to it in place, such as a device or a pipe, is written
// there, and only as far as that does not block. A size limit or a pipe whose reader has gone ends
// the write with a failure, not the program; a signal that asks the program to end waits until the
// file is whole, new or old.
bool writeSaveText(const QString &fileName, const ResultFileText &text);
