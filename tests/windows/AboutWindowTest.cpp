#include "BuildConfig.h"
#include "Form2.h"

#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolTip>
#include <sys/stat.h>

// Each row opens the window twice against a server on 127.0.0.1 that answers the same each time,
// whole or a byte a second.
class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void updateCheck_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("shown"); // the status line, greyed or not, the program page
        const QByteArray ok = "HTTP/1.1 200 OK\r\n\r\n", notice = "[Update]\n90220=A;B;1",
                         full = ok + notice + QByteArray(64 * 1024 - notice.size(), ' ');
        const QString read = "A on http://www.B", older = "Older on http://www.C",
                      failed = "Při stahování došlo k chybě off http://www." ZLOMKAR_WEB_DOMAIN
                               "/data/html/zlomkar.html";
        auto row = [](const char *tag, const QByteArray &answer, const char *before,
                       const QString &shown) { QTest::newRow(tag) << answer << before << shown; };
        row("markup as text", ok + "[Update]\n90220=<b>A;<i>B;1", "", "<b>A on http://www.<i>B");
        row("flag 0", ok + "[Update]\n90220=A;B;0", "", "A off http://www.B");
        row("at the size limit", full, "", read);
        row("over it", full + ' ', "", failed);
        row("drips a byte a second", ok + notice, "drip", failed);
        row("300, older notice kept", "HTTP/1.1 300 OK\r\n\r\n" + notice, "older", older);
        row("broken off, older notice kept",
            "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n" + notice, "older", older);
        row("notice folder missing", ok + notice, "missing", read);
        row("a folder named version", ok + notice, "folder", failed);
        row("a link named version", ok + notice, "link", read);
        row("a pipe named version", "HTTP/1.1 300 OK\r\n\r\n", "pipe", failed);
        row("older notice as long as a notice may be", "HTTP/1.1 300 OK\r\n\r\n", "64 KiB", older);
        row("older notice a byte longer", "HTTP/1.1 300 OK\r\n\r\n", "64 KiB + 1", failed);
        row("relative cache folder, no home", ok + notice, "no home", read);
    }
    void updateCheck()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, before);
        QTcpServer server;
        int requests = 0;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        connect(&server, &QTcpServer::newConnection, &server, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
                if (!socket->readAll().endsWith("\r\n\r\n"))
                    return;
                ++requests;
                auto *dripping = new QTimer(socket);
                connect(dripping, &QTimer::timeout, socket,
                    [=, sent = 0]() mutable { socket->write(answer.mid(sent++, 1)); });
                if (before == "drip")
                    return dripping->start(1000);
                socket->write(answer);
                socket->disconnectFromHost();
            });
        });
        const QTemporaryDir root;
        const QByteArray home = qgetenv("HOME"), cache = qgetenv("XDG_CACHE_HOME");
        if (before == "no home") {
            qunsetenv("HOME");
            qputenv("XDG_CACHE_HOME", "relcache");
        }
        const QString folder = before == "no home" ? AboutSetup::forThisProgram().noticeFolder
                                                   : root.filePath("notices"),
                      version = folder + "/version";
        qputenv("HOME", home);
        qputenv("XDG_CACHE_HOME", cache);
        QVERIFY(before == "missing"
            || (before == "no home" ? folder.isEmpty() : QDir().mkpath(folder)));
        QFile older(before == "link" ? root.filePath("target") : version);
        const QByteArray olderNotice = "[Update]\n90220=Older;C;1";
        const bool kept = before == "older" || before == "link" || before.startsWith("64 KiB");
        QVERIFY(!kept || (older.open(QIODevice::WriteOnly) && older.write(olderNotice)));
        if (before.startsWith("64 KiB")) // blanks end the value
            older.resize(64 * 1024 + before.endsWith('1'));
        older.close();
        QVERIFY(before != "link" || QFile::link(older.fileName(), version));
        QVERIFY(before != "folder" || QDir().mkpath(version));
        QVERIFY(before != "pipe" || mkfifo(qPrintable(version), 0600) == 0);
        QList<QUrl> opened;
        const AboutSetup setup { QString("http://127.0.0.1:%1/").arg(server.serverPort()), folder,
            { std::chrono::seconds(2) }, [&](const QUrl &url) { opened << url; } };

        for (int opening = 0; opening < 2; ++opening) {
            const int asked = requests;
            Form2 window(setup);
            window.load();
            QVERIFY(requests > asked); // every opening downloads
            auto *status = window.findChild<QLabel *>("Label15");
            auto *page = window.findChild<QLabel *>("Label6");
            const QString tip = QTextDocumentFragment::fromHtml(page->toolTip()).toPlainText();
            QTEST(status->text() + (status->isEnabled() ? " on " : " off ") + tip, "shown");
            QToolTip::showText({}, page->toolTip());
            const QWidgetList shown = QApplication::topLevelWidgets();
            QVERIFY(std::any_of(shown.begin(), shown.end(), [](QWidget *tip) {
                return tip->objectName() == "qtooltip_label"
                    && tip->height() < 2 * tip->fontMetrics().lineSpacing();
            }));
            QTest::mouseClick(window.findChild<QLabel *>("Label4"), Qt::LeftButton);
            QTest::mouseClick(page, Qt::LeftButton);
            QCOMPARE(opened.mid(2 * opening),
                QList<QUrl>({ QUrl("http://www." ZLOMKAR_WEB_DOMAIN), QUrl(tip) }));
        }
        const bool left
            = QStringList { "older", "folder", "pipe", "64 KiB", "64 KiB + 1" }.contains(before);
        QCOMPARE(QDir(root.filePath("notices"))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            left ? QStringList("version") : QStringList());
        QCOMPARE(kept && older.open(QIODevice::ReadOnly) ? older.read(olderNotice.size()) : "",
            kept ? olderNotice : "");
        QCOMPARE(AboutSetup::forThisProgram().noticeFolder, qgetenv("XDG_CACHE_HOME") + "/zlomkar");
    }
};

int runAboutWindowTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<AboutWindowTest>().get(), argc, argv);
}

#include "AboutWindowTest.moc"
