#include "Module1.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace {

bool isCompleteSuccess(const QNetworkReply &reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply.error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

bool store(const QString &file, const QByteArray &body)
{
    QSaveFile target(file);
    return target.open(QIODevice::WriteOnly) && target.write(body) == body.size()
        && target.commit();
}

} // namespace

bool Module1::DownloadFile(const QString &url, const QString &file, const DownloadLimits &limits)
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
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
    deadline.start(limits.time);

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also returns when the application is told to quit, with the reply still running.
    if (!reply->isFinished()) {
        reply->abort();
        return false;
    }
    if (!isCompleteSuccess(*reply))
        return false;
    takeAvailable();
    return body.size() <= limits.bytes && store(file, body);
}
