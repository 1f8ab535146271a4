#include "Form2.h"
#include "LocalHttpServer.h"
#include "MessageCatalogue.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QString noticePath = QStringLiteral("/update.txt");
constexpr auto timeLimit = 1s;

HttpAnswer answer(int status, const QByteArray &body)
{
    HttpAnswer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

QString failed()
{
    return QStringView(MessageCatalogue::text(119)).toString();
}

} // namespace

// Everything a server can do wrong ends the About window's check with message 119 or with the
// notice read as it stands, within the time limit, and leaves no notice file behind.
class UpdateFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void serverFaults_data();
    void serverFaults();
};

void UpdateFaultsTest::serverFaults_data()
{
    QTest::addColumn<bool>("listening");
    QTest::addColumn<HttpAnswer>("served");
    QTest::addColumn<QString>("caption");

    const QByteArray good = "[Update]\r\n90220=A;B;1\r\n";
    HttpAnswer reset = answer(200, good);
    reset.cutAfter = 8;
    reset.resetOnCut = true;
    HttpAnswer loop = answer(301, "moved");
    loop.headers.append({ "Location", noticePath.toUtf8() });
    HttpAnswer silent;
    silent.neverAnswer = true;
    HttpAnswer dripping = answer(200, good);
    dripping.drip = 1s;
    QByteArray garbage(4096, Qt::Uninitialized);
    QRandomGenerator generator(90220);
    for (char &byte : garbage)
        byte = char(generator.bounded(256));

    QTest::newRow("connection refused") << false << answer(200, good) << failed();
    QTest::newRow("reset in the middle of the body") << true << reset << failed();
    QTest::newRow("301 loop") << true << loop << failed();
    QTest::newRow("404") << true << answer(404, good) << failed();
    QTest::newRow("500") << true << answer(500, good) << failed();
    QTest::newRow("never answers") << true << silent << failed();
    QTest::newRow("drips a byte a second") << true << dripping << failed();
    QTest::newRow("10 MB body") << true << answer(200, good + QByteArray(10 * 1024 * 1024, 'x'))
                                << failed();
    QTest::newRow("binary garbage") << true << answer(200, garbage) << failed();
    QTest::newRow("empty body") << true << answer(200, "") << failed();
    QTest::newRow("NUL byte in the value")
        << true << answer(200, QByteArray("[Update]\r\n90220=A;B\0;1\r\n", 24)) << failed();
    QTest::newRow("NUL byte on a line of its own")
        << true << answer(200, QByteArray("[Update]\r\n\0\r\n90220=A;B;1\r\n", 25)) << "A";
    QTest::newRow("lines ended by CR only")
        << true << answer(200, "[Update]\r90220=A;B;1\r") << "A";
}

void UpdateFaultsTest::serverFaults()
{
    QFETCH(bool, listening);
    QFETCH(HttpAnswer, served);
    QFETCH(QString, caption);
    LocalHttpServer server;
    server.setAnswer(noticePath, served);
    const QTemporaryDir programDirectory;
    AboutSetup setup { listening ? server.url(noticePath)
                                 : LocalHttpServer::closedPortUrl(noticePath),
        programDirectory.path(), { timeLimit }, [](const QUrl &) {} };
    QElapsedTimer clock;
    clock.start();
    {
        Form2 window(setup);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label15"))->text(), caption);
        QVERIFY2(clock.elapsed() < 1000 + 3000, "the check ended within its time limit");
    }
    QVERIFY(QDir(programDirectory.path()).isEmpty());
}

int runUpdateFaultsTests(int argc, char *argv[])
{
    UpdateFaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "UpdateFaultsTest.moc"
