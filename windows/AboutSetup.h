#pragma once

#include "DownloadLimits.h"

#include <QString>
#include <QUrl>
#include <functional>

// Where the About window fetches its notice and keeps it, and how it opens web pages. The program
// uses forThisProgram(), which keeps the notice in the user's cache folder for the program, where
// nothing else writes: the program's own folder may be one shared with other commands, such as
// ~/.local/bin. Tests point it at a local server and watch the pages it opens.
struct AboutSetup
{
    QString noticeAddress;
    // Where the downloaded notice is kept while the window is open; none is kept when it is empty.
    QString noticeFolder;
    DownloadLimits limits;
    // Hands an address to the user's browser and returns at once; a failure passes silently.
    std::function<void(const QUrl &)> openUrl;

    static AboutSetup forThisProgram();
};
