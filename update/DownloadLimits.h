#pragma once

#include <QtGlobal>
#include <chrono>

// The notice is one short line: an answer that takes longer or carries more than this is not one,
// and a server that stops answering must not hold the window forever.
struct DownloadLimits
{
    std::chrono::milliseconds time { std::chrono::seconds(10) };
    qint64 bytes = 64 * 1024;
};
