#pragma once

class QString;

// The saved result: messages 103 and 104, an empty line, "dividend / divisor = " and the result
// text as it stands, with no line break added after it.
QString composeSaveText(const QString &dividend, const QString &divisor, const QString &result);

// Writes `text` in Windows-1250 as the whole new content of `fileName`, or leaves the file as it
// was when that fails.
bool writeSaveText(const QString &fileName, const QString &text);
