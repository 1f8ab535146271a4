#include "LocalHttpServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <sys/socket.h>

namespace {

QByteArray head(const HttpAnswer &answer)
{
    QByteArray text = "HTTP/1.1 " + QByteArray::number(answer.status) + " Test\r\n";
    text += "Connection: close\r\n";
    if (answer.contentLength)
        text += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    for (const auto &[name, value] : answer.headers)
        text += name + ": " + value + "\r\n";
    return text + "\r\n";
}

void resetConnection(QTcpSocket *socket)
{
    socket->flush();
    // Closing with a zero linger sends RST instead of FIN.
    const linger immediately { 1, 0 };
    ::setsockopt(
        int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &immediately, sizeof immediately);
    socket->abort();
}

void end(QTcpSocket *socket, const HttpAnswer &answer)
{
    if (answer.cutAfter && answer.resetOnCut)
        resetConnection(socket);
    else
        socket->disconnectFromHost();
}

void send(QTcpSocket *socket, const HttpAnswer &answer)
{
    const QByteArray bytes
        = head(answer) + answer.body.left(answer.cutAfter.value_or(answer.body.size()));
    if (answer.drip.count() == 0) {
        socket->write(bytes);
        end(socket, answer);
        return;
    }
    auto *timer = new QTimer(socket);
    QObject::connect(timer, &QTimer::timeout, socket, [=, sent = qsizetype(0)]() mutable {
        socket->write(bytes.mid(sent++, 1));
        if (sent == bytes.size()) {
            timer->stop();
            end(socket, answer);
        }
    });
    timer->start(answer.drip);
}

} // namespace

LocalHttpServer::LocalHttpServer()
{
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    m_server.listen(QHostAddress::LocalHost);
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void LocalHttpServer::setAnswer(const QString &path, const HttpAnswer &answer)
{
    m_answers.insert(path.toUtf8(), answer);
}

QString LocalHttpServer::closedPortUrl(const QString &path)
{
    QTcpServer listener;
    listener.listen(QHostAddress::LocalHost);
    const quint16 port = listener.serverPort();
    listener.close();
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}

void LocalHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [=, this] {
            *request += socket->readAll();
            if (!request->contains("\r\n\r\n"))
                return;
            QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
            respond(socket, request->split(' ').value(1));
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::respond(QTcpSocket *socket, const QByteArray &path)
{
    ++m_requestCount;
    HttpAnswer notFound;
    notFound.status = 404;
    const HttpAnswer answer = m_answers.value(path, notFound);
    if (answer.neverAnswer)
        return;
    QTimer::singleShot(answer.delay, socket, [=] { send(socket, answer); });
}
