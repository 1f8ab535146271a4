#include "BuildConfig.h"
#include "Form2.h"
#include "Rows.h"

#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolTip>
#include <sys/stat.h>

namespace {

const QByteArray ok = "HTTP/1.1 200 OK\r\n\r\n", moved = "HTTP/1.1 300 OK\r\n\r\n";
const QByteArray notice = "[Update]\n90220=A;B;1", olderNotice = "[Update]\n90220=Older;C;1";
const QString failed = "Při stahování došlo k chybě";
const QString fixedPage = "http://www." ZLOMKAR_WEB_DOMAIN "/data/html/zlomkar.html";

// Answers every request for the notice with `answer`, whole or a byte a second.
struct NoticeServer : QTcpServer
{
    int requests = 0;

    NoticeServer(const QByteArray &answer, bool dripping)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [=, this] {
                if (!socket->readAll().endsWith("\r\n\r\n"))
                    return;
                ++requests;
                auto *drip = new QTimer(socket);
                connect(drip, &QTimer::timeout, socket,
                    [=, sent = 0]() mutable { socket->write(answer.mid(sent++, 1)); });
                if (dripping)
                    return drip->start(1000);
                socket->write(answer);
                socket->disconnectFromHost();
            });
        });
    }
    QString address() const { return QString("http://127.0.0.1:%1/").arg(serverPort()); }
};

} // namespace

// Each row opens the window twice against a server on 127.0.0.1 that answers the same each time.
class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // What the notice folder holds before: "older" a notice, "link" a link to one, "folder",
    // "pipe", "64 KiB" a notice that long and one a byte longer, "missing" no folder and "none"
    // no folder to keep a notice in.
    void updateCheck_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("page");
        const QByteArray full = ok + notice + QByteArray(64 * 1024 - notice.size(), ' ');
        row("a notice", ok + notice, "", "A", true, "http://www.B");
        row("markup as text", ok + "[Update]\n90220=<b>A;<i>B;1", "", "<b>A", true,
            "http://www.<i>B");
        row("flag 0", ok + "[Update]\n90220=A;B;0", "", "A", false, "http://www.B");
        row("an empty quoted value", ok + "[Update]\n90220=\"\"", "", failed, false, fixedPage);
        row("at the size limit", full, "", "A", true, "http://www.B");
        row("over it", full + ' ', "", failed, false, fixedPage);
        row("drips a byte a second", ok + notice, "drip", failed, false, fixedPage);
        row("300, older notice kept", moved + notice, "older", "Older", true, "http://www.C");
        row("broken off, older notice kept",
            "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n" + notice, "older", "Older", true,
            "http://www.C");
        row("notice folder missing", ok + notice, "missing", "A", true, "http://www.B");
        row("no notice folder", ok + notice, "none", "A", true, "http://www.B");
        row("a folder named version", ok + notice, "folder", failed, false, fixedPage);
        row("a link named version", ok + notice, "link", "A", true, "http://www.B");
        row("a pipe named version", moved, "pipe", failed, false, fixedPage);
        row("older notice as long as one may be", moved, "64 KiB", "Older", true, "http://www.C");
        row("older notice a byte longer", moved, "64 KiB + 1", failed, false, fixedPage);
    }
    void updateCheck()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, before);
        QFETCH(QString, page);
        NoticeServer server(answer, before == "drip");
        const QTemporaryDir root;
        const QString folder = before == "none" ? QString() : root.filePath("notices");
        const QString version = folder + "/version";
        QVERIFY(before == "missing" || before == "none" || QDir().mkpath(folder));
        const bool kept = before == "older" || before == "link" || before.startsWith("64 KiB");
        QFile older(before == "link" ? root.filePath("target") : version);
        QVERIFY(!kept || (older.open(QIODevice::WriteOnly) && older.write(olderNotice)));
        if (before.startsWith("64 KiB")) // NUL bytes end the value
            older.resize(64 * 1024 + before.endsWith('1'));
        older.close();
        QVERIFY(before != "link" || QFile::link(older.fileName(), version));
        QVERIFY(before != "folder" || QDir().mkpath(version));
        QVERIFY(before != "pipe" || mkfifo(qPrintable(version), 0600) == 0);
        QList<QUrl> opened;
        const AboutSetup setup { server.address(), folder, { std::chrono::seconds(2) },
            [&](const QUrl &url) { opened << url; } };

        for (int opening = 0; opening < 2; ++opening) {
            const int asked = server.requests;
            Form2 window(setup);
            window.load();
            QVERIFY(server.requests > asked); // every opening downloads
            auto *status = window.findChild<QLabel *>("Label15");
            QTEST(status->text().remove(QChar(0)), "status");
            QTEST(status->isEnabled(), "enabled");
            auto *link = window.findChild<QLabel *>("Label6");
            QCOMPARE(QTextDocumentFragment::fromHtml(link->toolTip()).toPlainText(), page);
            QTest::mouseClick(window.findChild<QLabel *>("Label4"), Qt::LeftButton);
            QTest::mouseClick(link, Qt::LeftButton);
            QCOMPARE(opened.mid(2 * opening),
                QList<QUrl>({ QUrl("http://www." ZLOMKAR_WEB_DOMAIN), QUrl(page) }));
        }
        // Only a notice the window downloaded itself is deleted.
        const bool left
            = QStringList { "older", "folder", "pipe", "64 KiB", "64 KiB + 1" }.contains(before);
        QCOMPARE(QDir(root.filePath("notices")).exists("version"), left);
        QVERIFY(!kept
            || (older.open(QIODevice::ReadOnly) && older.read(olderNotice.size()) == olderNotice));
    }

    // The program page's address in its tooltip, which takes rich text, shows as it is, on one
    // line.
    void plainToolTip()
    {
        NoticeServer server(
            ok + "[Update]\n90220=A;<b>a very long address that would wrap;1", false);
        const QTemporaryDir root;
        Form2 window({ server.address(), root.path(), {}, {} });
        window.load();
        const QString tip = window.findChild<QLabel *>("Label6")->toolTip();
        QCOMPARE(QTextDocumentFragment::fromHtml(tip).toPlainText(),
            "http://www.<b>a very long address that would wrap");
        QToolTip::showText({}, tip);
        const QWidgetList shown = QApplication::topLevelWidgets();
        const auto label = std::find_if(shown.begin(), shown.end(),
            [](QWidget *widget) { return widget->objectName() == "qtooltip_label"; });
        QVERIFY(label != shown.end());
        QVERIFY((*label)->height() < 2 * (*label)->fontMetrics().lineSpacing());
    }

    void noticeFolderOfTheProgram()
    {
        QCOMPARE(AboutSetup::forThisProgram().noticeFolder, qgetenv("XDG_CACHE_HOME") + "/zlomkar");
    }
};

int runAboutWindowTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<AboutWindowTest>().get(), argc, argv);
}

#include "AboutWindowTest.moc"
