#pragma once

#include "DownloadLimits.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace Module1 {

// Fetches `url` by HTTP GET. Blocks until the transfer has ended, taking no user input meanwhile.
// The body of a complete 2xx answer within the limits; nothing after any failure.
std::optional<QByteArray> Download(const QString &url, const DownloadLimits &limits = {});

// Fetches `url` as Download() does and stores the whole body as `file`, replacing it. True only
// when both succeed; after any failure `file` is as it was.
bool DownloadFile(const QString &url, const QString &file, const DownloadLimits &limits = {});

} // namespace Module1
