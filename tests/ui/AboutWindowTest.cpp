#include "BuildConfig.h"
#include "Form2.h"

#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>

namespace {

// A real HTTP server on 127.0.0.1 that answers every request with the same bytes and closes the
// connection, or drips them a byte a second. It counts the requests.
struct HttpServer : QTcpServer
{
    int requests = 0;

    HttpServer(const QByteArray &answer, bool drip)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [=, this] {
                if (!socket->readAll().endsWith("\r\n\r\n"))
                    return;
                ++requests;
                auto *dripping = new QTimer(socket);
                connect(dripping, &QTimer::timeout, socket,
                    [=, sent = 0]() mutable { socket->write(answer.mid(sent++, 1)); });
                if (drip)
                    return dripping->start(1000);
                socket->write(answer);
                socket->disconnectFromHost();
            });
        });
    }
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<none>";
}

const QString fixedPage = "http://www." ZLOMKAR_WEB_DOMAIN "/data/html/zlomkar.html";

} // namespace

// The update check against a real server, each row opening the window twice: what the window
// shows, what its links open, and what it leaves in the notice folder.
class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void updateCheck_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("before"); // in the notice folder: an older notice, a folder...
        QTest::addColumn<QString>("shown"); // the status line, greyed or not, the program page
        const QByteArray ok = "HTTP/1.1 200 OK\r\n\r\n", notice = "[Update]\n90220=A;B;1";
        const QByteArray full = ok + notice + QByteArray(64 * 1024 - notice.size(), ' ');
        const QString read = "A on http://www.B",
                      failed = "Při stahování došlo k chybě off " + fixedPage,
                      older = "Older on http://www.C";
        QTest::newRow("markup as text") << ok + "[Update]\n90220=<b>A;<i>B;1"
                                        << ""
                                        << "<b>A on http://www.<i>B";
        QTest::newRow("flag 0") << ok + "[Update]\n90220=A;B;0"
                                << ""
                                << "A off http://www.B";
        QTest::newRow("empty flag") << ok + "[Update]\n90220=A;B;"
                                    << ""
                                    << "A off http://www.B";
        QTest::newRow("at the size limit") << full << "" << read;
        QTest::newRow("over it") << full + ' ' << "" << failed;
        QTest::newRow("drips a byte a second") << ok + notice << "drip" << failed;
        QTest::newRow("refuses the connection") << QByteArray() << "refuse" << failed;
        QTest::newRow("redirects in a loop")
            << QByteArray("HTTP/1.1 302 Found\r\nLocation: /\r\n\r\n") << "" << failed;
        QTest::newRow("404") << "HTTP/1.1 404 Not Found\r\n\r\n" + notice << "" << failed;
        QTest::newRow("300, older notice kept")
            << "HTTP/1.1 300 OK\r\n\r\n" + notice << "older" << older;
        QTest::newRow("500, older notice kept")
            << "HTTP/1.1 500 Error\r\n\r\n" + notice << "older" << older;
        QTest::newRow("broken off, older notice kept")
            << "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n" + notice << "older" << older;
        QTest::newRow("notice folder missing") << ok + notice << "missing" << read;
        QTest::newRow("a folder named version") << ok + notice << "folder" << failed;
        QTest::newRow("a link named version") << ok + notice << "link" << read;
    }
    void updateCheck()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, before);
        HttpServer server(answer, before == "drip");
        const QTemporaryDir root;
        const QString folder = root.filePath("notices"), version = folder + "/version";
        QVERIFY(before == "missing" || QDir().mkpath(folder));
        QFile older(before == "link" ? root.filePath("target") : version);
        const bool kept = before == "older" || before == "link";
        QVERIFY(!kept
            || (older.open(QIODevice::WriteOnly) && older.write("[Update]\n90220=Older;C;1")));
        older.close();
        QVERIFY(before != "link" || QFile::link(older.fileName(), version));
        QVERIFY(before != "folder" || QDir().mkpath(version));
        QList<QUrl> opened;
        const AboutSetup setup { QString("http://127.0.0.1:%1/").arg(server.serverPort()), folder,
            { std::chrono::seconds(1) }, [&opened](const QUrl &address) { opened << address; } };
        if (before == "refuse")
            server.close();

        for (int opening = 0; opening < 2; ++opening) {
            const int requests = server.requests;
            Form2 window(setup);
            window.load();
            QVERIFY(server.requests > requests || before == "refuse"); // every opening downloads
            auto *status = window.findChild<QLabel *>("Label15");
            auto *programLink = window.findChild<QLabel *>("Label6");
            const QString page
                = QTextDocumentFragment::fromHtml(programLink->toolTip()).toPlainText();
            QTEST(QString("%1 %2 %3").arg(status->text(), status->isEnabled() ? "on" : "off", page),
                "shown");
            QTest::mouseClick(window.findChild<QLabel *>("Label4"), Qt::LeftButton);
            QTest::mouseClick(programLink, Qt::LeftButton);
            QCOMPARE(opened.mid(2 * opening),
                QList<QUrl>({ QUrl("http://www." ZLOMKAR_WEB_DOMAIN), QUrl(page) }));
        }
        // Only what the window downloaded itself goes when it closes.
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            before == "older" || before == "folder" ? QStringList("version") : QStringList());
        QCOMPARE(contents(older.fileName()), kept ? "[Update]\n90220=Older;C;1" : "<none>");
    }

    // The program keeps its notice in its own folder of the user's cache.
    void noticeFolder()
    {
        QCOMPARE(AboutSetup::forThisProgram().noticeFolder, qgetenv("XDG_CACHE_HOME") + "/tst_ui");
    }
};

int runAboutWindowTest(int argc, char *argv[])
{
    AboutWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AboutWindowTest.moc"
