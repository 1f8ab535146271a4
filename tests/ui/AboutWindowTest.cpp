#include "BuildConfig.h"
#include "Form2.h"

#include <QDateTime>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>

namespace {

// A real HTTP server on 127.0.0.1 that answers every request with the same bytes, and then closes
// the connection, or drips the bytes one a second.
enum Ending { Close, Drip };

struct HttpServer : QTcpServer
{
    HttpServer(const QByteArray &answer, Ending ending)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [=] {
                if (!socket->readAll().endsWith("\r\n\r\n"))
                    return;
                auto *drip = new QTimer(socket);
                connect(drip, &QTimer::timeout, socket,
                    [=, sent = 0]() mutable { socket->write(answer.mid(sent++, 1)); });
                if (ending == Drip)
                    return drip->start(1000);
                socket->write(answer);
                socket->disconnectFromHost();
            });
        });
    }
};

} // namespace

Q_DECLARE_METATYPE(Ending)

// The update check against a real server: what the window shows, what it opens and leaves behind.
class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void updateCheck_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QString>("shown"); // the status line, and the program link when it shows
        const QByteArray ok = "HTTP/1.1 200 OK\r\n\r\n", notice = "[Update]\n90220=A;B;1";
        const QByteArray cut = "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n" + notice;
        const QByteArray full = ok + notice + QByteArray(64 * 1024 - notice.size(), ' ');
        const QString read = "A http://www.B", failed = "Při stahování došlo k chybě";
        QTest::newRow("notice") << ok + notice << Close << read;
        QTest::newRow("markup as text")
            << ok + "[Update]\n90220=<b>A;<i>B;1" << Close << "<b>A http://www.<i>B";
        QTest::newRow("at the size limit") << full << Close << read;
        QTest::newRow("over it") << full + ' ' << Close << failed;
        QTest::newRow("drips a byte a second") << ok + notice << Drip << failed;
        QTest::newRow("older notice kept") << cut << Close << "Older http://www.B";
        QTest::newRow("program folder not writable") << ok + notice << Close << read;
        QTest::newRow("folder named version") << ok + notice << Close << failed;
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
        const AboutSetup setup { QString("http://127.0.0.1:%1/").arg(server.serverPort()),
            folder.filePath(tag.contains("writable") ? "missing" : ""), { std::chrono::seconds(1) },
            [&opened](const QUrl &address) { opened << address; } };
        QFile older(folder.filePath("version"));
        QVERIFY(!tag.startsWith("older")
            || (older.open(QIODevice::WriteOnly) && older.write("[Update]\n90220=Older;B;1")));
        older.close();
        QVERIFY(!tag.contains("folder named") || QDir(folder.path()).mkdir("version"));

        const qint64 started = QDateTime::currentMSecsSinceEpoch();
        {
            Form2 window(setup);
            window.load();
            QVERIFY2(QDateTime::currentMSecsSinceEpoch() - started < 4000,
                "the check ends soon after its time limit");
            auto *status = window.findChild<QLabel *>("Label15");
            auto *programLink = window.findChild<QLabel *>("Label6");
            const QString page
                = QTextDocumentFragment::fromHtml(programLink->toolTip()).toPlainText();
            QTEST(status->text() + (status->isEnabled() ? ' ' + page : ""), "shown");
            QVERIFY(status->isEnabled()
                || page == "http://www." ZLOMKAR_WEB_DOMAIN "/data/html/zlomkar.html");
            QCOMPARE(
                status->palette().color(QPalette::Active, QPalette::WindowText), QColor(192, 0, 0));
            QVERIFY(!window.findChild<QLabel *>("Image1")->pixmap().isNull());
            QTest::mouseClick(programLink, Qt::LeftButton);
            QCOMPARE(opened, QList<QUrl> { QUrl(page) });
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' '),
            tag.contains("folder named")   ? "version"
                : tag.contains("writable") ? "cache"
                                           : "");
        QVERIFY(QDir(folder.filePath("cache/tst_ui")).isEmpty());
    }
};

int runAboutWindowTest(int argc, char *argv[])
{
    AboutWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AboutWindowTest.moc"
