#pragma once

#include <QString>

namespace NoticeFile {

// The file "version" in `programDirectory`, where the downloaded notice is kept while the About
// window is open. An installed program usually cannot write its own directory; then the file is
// "version" in the user's cache directory, which is created when missing.
QString location(const QString &programDirectory);

// Deletes the notice file when the About window closes. Only a plain file goes; a directory or a
// symbolic link of that name is not the program's own and stays.
void remove(const QString &path);

} // namespace NoticeFile
