#pragma once

#include "DownloadLimits.h"
#include "UpdateOutcome.h"

#include <QString>

namespace UpdateCheck {

// "http://", the update host of this build, and "/update.txt".
QString noticeAddress();

// The whole check as the About window's load runs it: downloads the notice from `noticeAddress`
// to `noticeFile`, reads the program's entry from that file, whatever the download gave, and
// returns what the window shows.
UpdateOutcome run(
    const QString &noticeAddress, const QString &noticeFile, const DownloadLimits &limits = {});

} // namespace UpdateCheck
