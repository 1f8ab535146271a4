#include "DownloadFileTest.h"

#include "LocalHttpServer.h"
#include "Module1.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QByteArray olderNotice = "[Update]\r\n90220=An older notice, longer than the new one;x;1\r\n";
const QByteArray notice = "[Update]\r\n90220=A;B;1\r\n";

HttpAnswer answer(int status, const QByteArray &body)
{
    HttpAnswer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

HttpAnswer withoutLength(HttpAnswer answer)
{
    answer.contentLength = false;
    return answer;
}

HttpAnswer redirect(const QByteArray &location)
{
    HttpAnswer answer = ::answer(302, "moved");
    answer.headers.append({ "Location", location });
    return answer;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void DownloadFileTest::answers_data()
{
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<bool>("succeeds");

    const QByteArray atLimit(64 * 1024, 'x');
    HttpAnswer closed = answer(200, notice);
    closed.cutAfter = 10;
    HttpAnswer reset = closed;
    reset.resetOnCut = true;

    QTest::newRow("200 writes the body over a longer file") << answer(200, notice) << true;
    QTest::newRow("200 without Content-Length") << withoutLength(answer(200, notice)) << true;
    QTest::newRow("empty 200 body") << answer(200, "") << true;
    QTest::newRow("binary body with NUL bytes")
        << answer(200, QByteArrayLiteral("\0\x01\xFF[Update]\0\r\r\n")) << true;
    QTest::newRow("body at the size limit") << answer(200, atLimit) << true;
    QTest::newRow("404") << answer(404, notice) << false;
    QTest::newRow("500") << answer(500, notice) << false;
    QTest::newRow("redirect without a target") << answer(301, notice) << false;
    QTest::newRow("body over the size limit") << answer(200, atLimit + "x") << false;
    QTest::newRow("body over the size limit without Content-Length")
        << withoutLength(answer(200, atLimit + "x")) << false;
    QTest::newRow("connection closed in the middle of the body") << closed << false;
    QTest::newRow("connection reset in the middle of the body") << reset << false;
}

void DownloadFileTest::answers()
{
    QFETCH(HttpAnswer, answer);
    QFETCH(bool, succeeds);
    LocalHttpServer server;
    server.setAnswer(u"/update.txt"_qs, answer);
    const QTemporaryDir directory;
    const QString file = directory.filePath(u"version"_qs);
    writeFile(file, olderNotice);

    QCOMPARE(Module1::DownloadFile(server.url(u"/update.txt"_qs), file), succeeds);

    QCOMPARE(readFile(file), succeeds ? answer.body : olderNotice);
    // Qt sends a GET once more when a connection closes before it has seen the answer, which can
    // happen under load when the close is what ends the body.
    QVERIFY(server.requestCount() == 1 || (!answer.contentLength && server.requestCount() == 2));
    // No temporary file of the replacement is left beside it.
    QCOMPARE(
        QDir(directory.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { u"version"_qs });
}

void DownloadFileTest::redirects_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("succeeds");

    QTest::newRow("redirect to a good answer") << "/moved" << true;
    QTest::newRow("redirect loop") << "/loop" << false;
    QTest::newRow("redirect to a closed port") << "/away" << false;
}

void DownloadFileTest::redirects()
{
    QFETCH(QString, path);
    QFETCH(bool, succeeds);
    LocalHttpServer server;
    server.setAnswer(u"/update.txt"_qs, answer(200, notice));
    server.setAnswer(u"/moved"_qs, redirect("/update.txt"));
    server.setAnswer(u"/loop"_qs, redirect("/loop"));
    server.setAnswer(u"/away"_qs, redirect(LocalHttpServer::closedPortUrl(u"/"_qs).toUtf8()));
    const QTemporaryDir directory;
    const QString file = directory.filePath(u"version"_qs);
    QElapsedTimer clock;
    clock.start();

    QCOMPARE(Module1::DownloadFile(server.url(path), file, { 5s }), succeeds);

    QVERIFY(clock.elapsed() < 4000);
    QCOMPARE(readFile(file), succeeds ? notice : QByteArray());
}

void DownloadFileTest::slowServers_data()
{
    QTest::addColumn<HttpAnswer>("answer");
    QTest::addColumn<bool>("succeeds");

    HttpAnswer silent;
    silent.neverAnswer = true;
    HttpAnswer dripping = answer(200, QByteArray(200, 'x'));
    dripping.drip = 20ms;
    HttpAnswer late = answer(200, notice);
    late.delay = 2s;
    HttpAnswer prompt = late;
    prompt.delay = 50ms;

    QTest::newRow("server never answers") << silent << false;
    QTest::newRow("server drips a byte every 20 ms") << dripping << false;
    QTest::newRow("answer after the limit") << late << false;
    QTest::newRow("answer within the limit") << prompt << true;
}

void DownloadFileTest::slowServers()
{
    QFETCH(HttpAnswer, answer);
    QFETCH(bool, succeeds);
    LocalHttpServer server;
    server.setAnswer(u"/update.txt"_qs, answer);
    const QTemporaryDir directory;
    const QString file = directory.filePath(u"version"_qs);
    QElapsedTimer clock;
    clock.start();

    QCOMPARE(Module1::DownloadFile(server.url(u"/update.txt"_qs), file, { 400ms }), succeeds);

    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(QFile::exists(file), succeeds);
}

void DownloadFileTest::closedPortFails()
{
    const QTemporaryDir directory;
    const QString file = directory.filePath(u"version"_qs);
    writeFile(file, olderNotice);

    QVERIFY(!Module1::DownloadFile(LocalHttpServer::closedPortUrl(u"/update.txt"_qs), file));

    QCOMPARE(readFile(file), olderNotice);
}

void DownloadFileTest::unwritableTargetFails()
{
    LocalHttpServer server;
    server.setAnswer(u"/update.txt"_qs, answer(200, notice));
    const QTemporaryDir directory;

    QVERIFY(!Module1::DownloadFile(
        server.url(u"/update.txt"_qs), directory.filePath(u"missing/version"_qs)));

    QCOMPARE(server.requestCount(), 1);
}
