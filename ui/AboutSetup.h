#pragma once

#include "DownloadLimits.h"

#include <QString>
#include <QUrl>
#include <functional>

// Where the About window fetches its notice and keeps it, and how it opens web pages. The program
// uses forThisProgram(); tests point it at a local server and watch the pages it opens.
struct AboutSetup
{
    QString noticeAddress;
    QString programDirectory;
    DownloadLimits limits;
    // Hands an address to the user's browser and returns at once; a failure passes silently.
    std::function<void(const QUrl &)> openUrl;

    static AboutSetup forThisProgram();
};
