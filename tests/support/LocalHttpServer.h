#pragma once

#include "HttpAnswer.h"

#include <QHash>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// A real HTTP/1.1 server on 127.0.0.1 with a port chosen by the system, answering in the event
// loop of the thread that made it, one request per connection. A path without an answer of its
// own gets a 404.
class LocalHttpServer
{
public:
    LocalHttpServer();

    QString url(const QString &path) const;
    void setAnswer(const QString &path, const HttpAnswer &answer);
    int requestCount() const { return m_requestCount; }

    // An address on 127.0.0.1 where nothing listens.
    static QString closedPortUrl(const QString &path);

private:
    void accept();
    void respond(QTcpSocket *socket, const QByteArray &path);

    QTcpServer m_server;
    QHash<QByteArray, HttpAnswer> m_answers;
    int m_requestCount = 0;
};
