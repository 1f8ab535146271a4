#include "DownloadFileTest.h"

#include "LocalHttpServer.h"
#include "Module1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray olderNotice = "[Update]\r\n90220=An older notice, longer than the new one;x;1\r\n";
const QByteArray notice = "[Update]\r\n90220=A;B;1\r\n";
const QByteArray atLimit(64 * 1024, 'x');

HttpAnswer answer(int status, const QByteArray &body, bool contentLength = true)
{
    HttpAnswer answer;
    answer.status = status;
    answer.body = body;
    answer.contentLength = contentLength;
    return answer;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// How the servers that fail are handled is tested with the About window; here, what the file
// holds afterwards.
void DownloadFileTest::replacesTheFileOnlyWithAWholeAnswer_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<HttpAnswer>("served");
    QTest::addColumn<bool>("succeeds");

    HttpAnswer redirect = answer(302, "moved");
    redirect.headers.append({ "Location", QByteArray("/update.txt") });
    HttpAnswer cut = answer(200, notice);
    cut.cutAfter = 10;

    QTest::newRow("shorter notice") << "/update.txt" << answer(200, notice) << true;
    QTest::newRow("body ended by the connection")
        << "/update.txt" << answer(200, notice, false) << true;
    QTest::newRow("empty body") << "/update.txt" << answer(200, "") << true;
    QTest::newRow("binary body") << "/update.txt"
                                 << answer(200, QByteArray("\0\x01\xFF[U]\r\r\n", 10)) << true;
    QTest::newRow("body at the size limit") << "/update.txt" << answer(200, atLimit) << true;
    QTest::newRow("redirect followed") << "/moved" << redirect << true;
    QTest::newRow("body over the size limit")
        << "/update.txt" << answer(200, atLimit + "x") << false;
    QTest::newRow("body over the size limit, no length")
        << "/update.txt" << answer(200, atLimit + "x", false) << false;
    QTest::newRow("connection closed in the body") << "/update.txt" << cut << false;
    QTest::newRow("not found") << "/update.txt" << answer(404, notice) << false;
}

void DownloadFileTest::replacesTheFileOnlyWithAWholeAnswer()
{
    QFETCH(QString, path);
    QFETCH(HttpAnswer, served);
    QFETCH(bool, succeeds);
    LocalHttpServer server;
    server.setAnswer(path, served);
    server.setAnswer(QStringLiteral("/update.txt"),
        path == QLatin1String("/update.txt") ? served : answer(200, notice));
    const QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("version"));
    QFile older(file);
    QVERIFY(older.open(QIODevice::WriteOnly) && older.write(olderNotice) == olderNotice.size());
    older.close();

    QCOMPARE(Module1::DownloadFile(server.url(path), file), succeeds);

    const QByteArray expected = path == QLatin1String("/update.txt") ? served.body : notice;
    QCOMPARE(readFile(file), succeeds ? expected : olderNotice);
    QCOMPARE(
        QDir(directory.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "version" });
}
