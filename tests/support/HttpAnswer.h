#pragma once

#include <QByteArray>
#include <QList>
#include <chrono>
#include <optional>
#include <utility>

// How LocalHttpServer answers one request.
struct HttpAnswer
{
    int status = 200;
    QByteArray body;
    // Sent after the status line, e.g. {"Location", "/elsewhere"}.
    QList<std::pair<QByteArray, QByteArray>> headers;
    // Without it the body ends where the connection closes.
    bool contentLength = true;
    std::chrono::milliseconds delay { 0 };
    // Reads the request and keeps the connection open without a word.
    bool neverAnswer = false;
    // When set, the whole answer goes out one byte per interval.
    std::chrono::milliseconds drip { 0 };
    // When set, the connection ends after this many bytes of the body, closed or reset.
    std::optional<qsizetype> cutAfter;
    bool resetOnCut = false;
};
