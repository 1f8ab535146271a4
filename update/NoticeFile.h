#pragma once

#include <QString>

namespace NoticeFile {

// The file "version" in `folder`, where the downloaded notice is kept while the About window is
// open; the folder is made when it is missing. Nothing when there is no such folder.
QString location(const QString &folder);

// Deletes the notice file when the About window closes; only a plain file goes.
void remove(const QString &path);

} // namespace NoticeFile
