#pragma once

#include <QString>
#include <string_view>

namespace NoticeReader {

// UpdateText as the About window holds it: the value of key "90220" in section "Update" of the
// notice, decoded from Windows-1250, or "error" when there is none; at most 127 characters,
// followed by NUL characters up to 128 characters in all.
QString updateText(std::string_view noticeBytes);

// The same read from the notice file; anything but a regular file that can be read, and a file of
// more than `maximumBytes`, counts as missing, and is left alone.
QString readUpdateText(const QString &fileName, qint64 maximumBytes);

} // namespace NoticeReader
