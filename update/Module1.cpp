#include "Module1.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <memory>

namespace {

bool isCompleteSuccess(const QNetworkReply &reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply.error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

// Written beside the file and renamed over it, so a symbolic link of that name is replaced, never
// written through, and a failure leaves the file as it was.
bool store(const QString &file, const QByteArray &body)
{
    QTemporaryFile written(file + QStringLiteral("-XXXXXX"));
    if (!written.open() || written.write(body) != body.size() || !written.flush())
        return false;
    written.close();
    std::error_code error;
    std::filesystem::rename(written.fileName().toStdU16String(), file.toStdU16String(), error);
    written.setAutoRemove(bool(error));
    return !error;
}

} // namespace

std::optional<QByteArray> Module1::Download(const QString &url, const DownloadLimits &limits)
{
    QNetworkAccessManager network;
    const std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(QUrl(url))));
    // Without a bound Qt keeps reading a large answer into memory before we see any of it.
    reply->setReadBufferSize(limits.bytes + 1);

    QByteArray body;
    const auto takeAvailable = [&] {
        body += reply->read(limits.bytes + 1 - body.size());
        if (body.size() > limits.bytes)
            reply->abort();
    };
    QObject::connect(reply.get(), &QIODevice::readyRead, takeAvailable);

    // The transfer timeout of Qt only measures silence, so a server that sends a byte now and
    // then would never reach it.
    QTimer::singleShot(limits.time, reply.get(), &QNetworkReply::abort);

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also returns when the application is told to quit, with the reply still running.
    if (!reply->isFinished()) {
        reply->abort();
        return {};
    }
    if (!isCompleteSuccess(*reply))
        return {};
    takeAvailable();
    if (body.size() > limits.bytes)
        return {};
    return body;
}

bool Module1::DownloadFile(const QString &url, const QString &file, const DownloadLimits &limits)
{
    const std::optional<QByteArray> body = Download(url, limits);
    return body && store(file, *body);
}
