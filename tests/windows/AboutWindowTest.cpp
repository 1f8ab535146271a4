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
#include <sys/stat.h>

namespace {

const QByteArray ok = "HTTP/1.1 200 OK\r\n\r\n", moved = "HTTP/1.1 300 OK\r\n\r\n";
const QByteArray notice = "[Update]\n90220=A;B;1", olderNotice = "[Update]\n90220=Older;C;1";
const QString failed = "Při stahování došlo k chybě";
const QString fixedPage = "http://www." ZLOMKAR_WEB_DOMAIN "/data/html/zlomkar.html";

// Answers every request for the notice with `answer`, whole or a byte a second.
struct NoticeServer : QTcpServer
{
    NoticeServer(const QByteArray &answer, bool dripping)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [=] {
                if (!socket->readAll().endsWith("\r\n\r\n"))
                    return;
                auto *drip = new QTimer(socket);
                drip->callOnTimeout([=, i = 0]() mutable { socket->write(answer.mid(i++, 1)); });
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

class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // The window against a server on 127.0.0.1, the notice folder holding before: "older" a notice,
    // "link" a link to one, "pipe", "64 KiB" a notice that long or a byte longer, "missing" no
    // folder, "none" nowhere to keep a notice.
    void updateCheck_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("page");
        const QByteArray full = ok + notice + QByteArray(64 * 1024 - notice.size(), ' ');
        row("a notice", ok + notice, "", "A", true, "http://www.B");
        row("markup as text", ok + "[Update]\n90220=A;<i>B;1", "", "A", true, "http://www.<i>B");
        row("flag 0", ok + "[Update]\n90220=A;B;0", "", "A", false, "http://www.B");
        row("an empty quoted value", ok + "[Update]\n90220=\"\"", "", failed, false, fixedPage);
        row("at the size limit", full, "", "A", true, "http://www.B");
        row("over it", full + ' ', "", failed, false, fixedPage);
        row("drips a byte a second", ok + notice, "drip", failed, false, fixedPage);
        row("300, older notice kept", moved + notice, "older", "Older", true, "http://www.C");
        row("notice folder missing", ok + notice, "missing", "A", true, "http://www.B");
        row("no notice folder", ok + notice, "none", "A", true, "http://www.B");
        row("a link named version", ok + notice, "link", "A", true, "http://www.B");
        row("a pipe named version", moved, "pipe", failed, false, fixedPage);
        row("older notice as long as one may be", moved, "64 KiB", "Older", true, "http://www.C");
        row("older notice a byte longer", moved, "64 KiB + 1", failed, false, fixedPage);
    }
    void updateCheck()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, before);
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
        QVERIFY(before != "pipe" || mkfifo(qPrintable(version), 0600) == 0);
        {
            Form2 window({ server.address(), folder, { std::chrono::seconds(2) }, {} });
            window.load();
            auto *status = window.findChild<QLabel *>("Label15");
            QTEST(status->text().remove(QChar(0)), "status");
            QTEST(status->isEnabled(), "enabled");
            auto *link = window.findChild<QLabel *>("Label6");
            QTEST(QTextDocumentFragment::fromHtml(link->toolTip()).toPlainText(), "page");
        }
        // Only a notice the window downloaded itself is deleted, and an older one is left whole.
        const bool left = QStringList { "older", "pipe", "64 KiB", "64 KiB + 1" }.contains(before);
        QCOMPARE(QFileInfo::exists(version), left);
        QVERIFY(!kept || (older.open(QFile::ReadOnly) && older.readAll().startsWith(olderNotice)));
    }
};

int runAboutWindowTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<AboutWindowTest>().get(), argc, argv);
}

#include "AboutWindowTest.moc"
