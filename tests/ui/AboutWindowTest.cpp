#include "BuildConfig.h"
#include "Form2.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <sys/socket.h>

namespace {

// How the server answers: it sends the bytes and closes, sends them and resets the connection,
// says nothing, or sends them a byte a second.
enum Ending { Close, Reset, Silent, Drip };

// A real HTTP server on 127.0.0.1: "/update.txt" gets the answer under test, "/moved" a notice.
struct HttpServer : QTcpServer
{
    HttpServer(const QByteArray &answer, Ending ending)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [=] {
                const QByteArray request = socket->peek(socket->bytesAvailable());
                if (!request.contains("\r\n\r\n") || ending == Silent)
                    return;
                socket->readAll();
                if (ending == Drip) {
                    auto *drip = new QTimer(socket);
                    connect(drip, &QTimer::timeout, socket,
                        [=, sent = 0]() mutable { socket->write(answer.mid(sent++, 1)); });
                    return drip->start(1000);
                }
                socket->write(request.startsWith("GET /moved")
                        ? "HTTP/1.1 200 OK\r\n\r\n[Update]\n90220=A;B;1"
                        : answer);
                socket->flush();
                const linger reset { ending == Reset, 0 }; // a zero linger closes with RST
                setsockopt(
                    int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
                socket->disconnectFromHost();
            });
        });
    }
};

} // namespace

Q_DECLARE_METATYPE(Ending)

// The About window's update check against a real server: what the window shows, which pages its
// links open, and that closing it deletes the downloaded notice and nothing else.
class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void updateCheck_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QString>("shown"); // status line, and the address of the program link
        const QByteArray notice = "[Update]\n90220=A;B;1", ok = "HTTP/1.1 200 OK\r\n\r\n";
        const QByteArray cut = "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n" + notice;
        const QByteArray atLimit = ok + notice + QByteArray(64 * 1024 - notice.size(), ' ');
        const QString read = "A http://www.B", failed = "Při stahování došlo k chybě";
        QTest::newRow("good notice") << ok + notice << Close << read;
        QTest::newRow("markup as text")
            << ok + "[Update]\n90220=<b>A;<i>B;1" << Close << "<b>A http://www.<i>B";
        QTest::newRow("error notice") << ok + "[Update]\n90220=error;B;1" << Close << failed;
        QTest::newRow("at the size limit") << atLimit << Close << read;
        QTest::newRow("over the size limit") << atLimit + ' ' << Close << failed;
        QTest::newRow("redirect") << QByteArray("HTTP/1.1 302 Found\r\nLocation: /moved\r\n\r\n")
                                  << Close << read;
        QTest::newRow("redirect loop")
            << QByteArray("HTTP/1.1 301 Moved\r\nLocation: /update.txt\r\n\r\n") << Close << failed;
        QTest::newRow("300") << "HTTP/1.1 300 Choices\r\n\r\n" + notice << Close << failed;
        QTest::newRow("reset in the body") << cut << Reset << failed;
        QTest::newRow("never answers") << QByteArray() << Silent << failed;
        QTest::newRow("drips a byte a second") << ok + notice << Drip << failed;
        QTest::newRow("refused") << QByteArray() << Close << failed;
        QTest::newRow("a failure keeps an older notice") << cut << Close << "Older http://www.B";
        QTest::newRow("program folder not writable") << ok + notice << Close << read;
        QTest::newRow("a folder named version stays") << ok + notice << Close << failed;
    }
    void updateCheck()
    {
        const QString tag = QTest::currentDataTag();
        QFETCH(QByteArray, answer);
        QFETCH(Ending, ending);
        HttpServer server(answer, ending);
        const QTemporaryDir folder;
        qputenv("XDG_CACHE_HOME", folder.filePath("cache").toLocal8Bit());
        QList<QUrl> opened;
        const quint16 port = tag == "refused" ? 1 : server.serverPort();
        const AboutSetup setup { QString("http://127.0.0.1:%1/update.txt").arg(port),
            folder.filePath(tag.contains("not writable") ? "missing" : ""),
            { std::chrono::seconds(1) }, [&opened](const QUrl &address) { opened << address; } };
        QFile older(folder.filePath("version"));
        QVERIFY(!tag.contains("older notice")
            || (older.open(QIODevice::WriteOnly) && older.write("[Update]\n90220=Older;B;1")));
        older.close();
        QVERIFY(!tag.contains("folder named") || QDir(folder.path()).mkdir("version"));

        QElapsedTimer clock;
        clock.start();
        {
            Form2 window(setup);
            window.load();
            QVERIFY2(clock.elapsed() < 4000, "the check ends soon after its time limit");
            auto *status = window.findChild<QLabel *>("Label15");
            auto *programLink = window.findChild<QLabel *>("Label6");
            const QString page
                = QTextDocumentFragment::fromHtml(programLink->toolTip()).toPlainText();
            QTEST(status->text() + (status->isEnabled() ? ' ' + page : ""), "shown");
            QVERIFY(status->isEnabled()
                || page == "http://www." ZLOMKAR_WEB_DOMAIN "/data/html/zlomkar.html");
            QTest::mouseClick(programLink, Qt::LeftButton);
            QTest::mouseClick(window.findChild<QLabel *>("Label4"), Qt::LeftButton);
            QCOMPARE(opened, QList<QUrl>({ QUrl(page), QUrl("http://www." ZLOMKAR_WEB_DOMAIN) }));
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' '),
            tag.contains("folder named")       ? "version"
                : tag.contains("not writable") ? "cache"
                                               : "");
        QVERIFY(
            !QDirIterator(folder.path(), { "version" }, QDir::Files, QDirIterator::Subdirectories)
                 .hasNext());
    }
};

int runAboutWindowTest(int argc, char *argv[])
{
    AboutWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AboutWindowTest.moc"
