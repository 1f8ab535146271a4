#include "UpdateCheckTest.h"

#include "CatalogueText.h"
#include "LocalHttpServer.h"
#include "NoticeFile.h"
#include "UpdateCheck.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

using namespace std::chrono_literals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

void UpdateCheckTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    m_savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QVERIFY(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation).startsWith(m_home.path()));
}

void UpdateCheckTest::cleanupTestCase()
{
    qputenv("HOME", m_savedHome);
}

void UpdateCheckTest::location_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("inCache");

    QTest::newRow("writable program directory") << "program" << true << false;
    QTest::newRow("missing program directory") << "program" << false << true;
    QTest::newRow("program directory under /proc") << "/proc/self" << true << true;
}

void UpdateCheckTest::location()
{
    QFETCH(QString, directory);
    QFETCH(bool, exists);
    QFETCH(bool, inCache);
    const QTemporaryDir base;
    const QString programDirectory = QDir(base.path()).filePath(directory);
    if (exists)
        QVERIFY(QDir().mkpath(programDirectory));
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir(cache).removeRecursively();

    const QString path = NoticeFile::location(programDirectory);

    QCOMPARE(path, QDir(inCache ? cache : programDirectory).filePath(u"version"_qs));
    QVERIFY(QFileInfo(path).dir().exists());
    // The check of the directory leaves nothing behind.
    if (exists && !inCache)
        QVERIFY(
            QDir(programDirectory).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void UpdateCheckTest::remove_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("remains");

    QTest::newRow("plain file deleted") << "file" << false;
    QTest::newRow("directory kept") << "directory" << true;
    QTest::newRow("symbolic link kept") << "link" << true;
    QTest::newRow("missing file") << "none" << false;
}

void UpdateCheckTest::remove()
{
    QFETCH(QString, entry);
    QFETCH(bool, remains);
    const QTemporaryDir directory;
    const QString path = directory.filePath(u"version"_qs);
    const QString elsewhere = directory.filePath(u"elsewhere"_qs);
    writeFile(elsewhere, "[Update]\n");
    if (entry == u"file")
        writeFile(path, "[Update]\n");
    else if (entry == u"directory")
        QVERIFY(QDir().mkpath(path));
    else if (entry == u"link")
        QVERIFY(QFile::link(elsewhere, path));

    NoticeFile::remove(path);

    QCOMPARE(QFileInfo(path).exists() || QFileInfo(path).isSymLink(), remains);
    QVERIFY(QFile::exists(elsewhere));
}

void UpdateCheckTest::run_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("leftBehind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("failed");

    const QByteArray none;
    const QString m119 = message(119);

    QTest::newRow("good notice") << 200 << QByteArray("[Update]\r\n90220=Nov\xE1 verze;B;1\r\n")
                                 << none << u"Nová verze"_qs << false;
    QTest::newRow("notice without the key")
        << 200 << QByteArray("[Update]\r\n90221=A;B;1\r\n") << none << m119 << true;
    QTest::newRow("failed download without a file") << 404 << QByteArray() << none << m119 << true;
    QTest::newRow("failed download reads a file left behind")
        << 500 << QByteArray() << QByteArray("[Update]\r\n90220=Star\xFD;B;0\r\n") << u"Starý"_qs
        << false;
    QTest::newRow("server never answers") << 0 << QByteArray() << none << m119 << true;
}

void UpdateCheckTest::run()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, leftBehind);
    QFETCH(QString, caption);
    QFETCH(bool, failed);
    LocalHttpServer server;
    HttpAnswer answer;
    answer.status = status;
    answer.body = body;
    answer.neverAnswer = status == 0;
    server.setAnswer(u"/update.txt"_qs, answer);
    const QTemporaryDir directory;
    const QString file = directory.filePath(u"version"_qs);
    if (!leftBehind.isEmpty())
        writeFile(file, leftBehind);

    const UpdateOutcome outcome = UpdateCheck::run(server.url(u"/update.txt"_qs), file, { 400ms });

    QCOMPARE(outcome.statusCaption, caption);
    QCOMPARE(outcome.UpdateFailed, failed);
    QCOMPARE(outcome.programPageAddress.has_value(), !failed);
    QCOMPARE(server.requestCount(), 1);
}
