#pragma once

#include <QString>

// The folders of the user's own where the program and Qt may keep things, by the XDG rules: a
// relative XDG_CACHE_HOME or XDG_CONFIG_HOME is ignored, and a home counts only where it is an
// absolute folder of the user's own that the user may write, and not the root of the file system.
// Without one, nothing is kept rather than something at the root or in the current folder.
namespace UserFolders {

bool isUsableHome(const QString &path);

// The folder that `xdgValue` names where it is absolute, or else `inHome` in `home`; nothing
// where neither is there.
QString xdgFolder(const QString &xdgValue, const QString &home, const QString &inHome);

// The program's own folder for things kept a while; empty where the user has none.
QString programCache();

// Qt's own settings (the file dialog keeps its state there) go to the user's config folder, or
// nowhere; to be called before anything reads them.
void keepQtSettingsAtHome();

} // namespace UserFolders
