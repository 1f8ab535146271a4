#pragma once

#include "DownloadLimits.h"

#include <QString>

namespace Module1 {

// Fetches `url` by HTTP GET and stores the whole body as `file`, replacing it. Blocks until the
// transfer has ended, taking no user input meanwhile. True only for a complete 2xx answer within
// the limits; after any failure `file` is as it was.
bool DownloadFile(const QString &url, const QString &file, const DownloadLimits &limits = {});

} // namespace Module1
