#include "NoticeTest.h"

#include "CatalogueText.h"
#include "NoticeReader.h"
#include "UpdateOutcome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

std::string_view view(const QByteArray &bytes)
{
    return { bytes.constData(), std::size_t(bytes.size()) };
}

QString padded(const QString &value)
{
    return value + QString(128 - value.size(), QChar(u'\0'));
}

QString updateTextOf(const QByteArray &value)
{
    return NoticeReader::updateText(view("[Update]\r\n90220=" + value + "\r\n"));
}

} // namespace

void NoticeTest::updateText_data()
{
    QTest::addColumn<QByteArray>("notice");
    QTest::addColumn<QString>("value");

    QTest::newRow("value followed by NULs") << QByteArray("[Update]\n90220=A;B;1") << "A;B;1";
    QTest::newRow("Czech value decoded from Windows-1250")
        << QByteArray("[Update]\n90220=Nov\xE1 verze \x9Elu\x9Dou\xE8k\xE9ho kon\xEC;x;1")
        << u"Nová verze žluťoučkého koně;x;1"_qs;
    QTest::newRow("missing value gives error") << QByteArray("[Update]\n") << "error";
    QTest::newRow("longest value keeps one NUL")
        << "[Update]\n90220=" + QByteArray(130, '\xE8') << QString(127, u'č');
}

void NoticeTest::updateText()
{
    QFETCH(QByteArray, notice);
    QFETCH(QString, value);

    QCOMPARE(NoticeReader::updateText(view(notice)), padded(value));
}

void NoticeTest::readUpdateText_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("value");

    QTest::newRow("notice file read") << "file"
                                      << "Star\u00FD;B;0";
    QTest::newRow("missing file gives error") << "none"
                                              << "error";
    QTest::newRow("directory of that name gives error") << "directory"
                                                        << "error";
}

void NoticeTest::readUpdateText()
{
    QFETCH(QString, entry);
    QFETCH(QString, value);

    const QTemporaryDir directory;
    const QString path = directory.filePath(u"version"_qs);
    if (entry == u"file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Update]\r\n90220=Star\xFD;B;0\r\n");
    } else if (entry == u"directory") {
        QVERIFY(QDir().mkpath(path));
    }

    QCOMPARE(NoticeReader::readUpdateText(path), padded(value));
}

void NoticeTest::applyNotice_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("failed");

    const QString designed; // the window keeps its designed address
    const QString m119 = message(119);

    QTest::newRow("good notice") << QByteArray("A;B;1") << "A" << true << "http://www.B" << false;
    QTest::newRow("flag 0") << QByteArray("A;B;0") << "A" << false << "http://www.B" << false;
    QTest::newRow("flag 10") << QByteArray("A;B;10") << "A" << true << "http://www.B" << false;
    QTest::newRow("empty third field")
        << QByteArray("A;B;") << "A" << false << "http://www.B" << false;
    QTest::newRow("blank before the flag")
        << QByteArray("A;B; 1") << "A" << false << "http://www.B" << false;
    QTest::newRow("fourth field ignored")
        << QByteArray("A;B;0;1") << "A" << false << "http://www.B" << false;
    QTest::newRow("empty field 0 still success")
        << QByteArray(";B;1") << "" << true << "http://www.B" << false;
    QTest::newRow("Czech caption and a path in the address")
        << QByteArray("Nov\xE1 verze 2.1;zlomkar.example/data/html/zlomkar.html;1")
        << u"Nová verze 2.1"_qs << true << "http://www.zlomkar.example/data/html/zlomkar.html"
        << false;
    QTest::newRow("error") << QByteArray("error") << m119 << false << designed << true;
    QTest::newRow("errorX") << QByteArray("errorX;B;1") << m119 << false << designed << true;
    QTest::newRow("error after blanks")
        << QByteArray("  error;B;1") << m119 << false << designed << true;
    QTest::newRow("Error not a failure")
        << QByteArray("Error;B;1") << "Error" << true << "http://www.B" << false;
    QTest::newRow("empty value") << QByteArray("") << m119 << false << designed << true;
    QTest::newRow("one field") << QByteArray("A") << m119 << false << designed << true;
    QTest::newRow("two fields") << QByteArray("A;B") << m119 << false << designed << true;
    QTest::newRow("NUL byte before the third field")
        << QByteArrayLiteral("A;B\0;1") << m119 << false << designed << true;
    QTest::newRow("value of 127 characters still read")
        << QByteArray(123, 'x') + ";B;1" << QString(123, u'x') << true << "http://www.B" << false;
    QTest::newRow("value cut at 127 pushes fields out")
        << QByteArray(125, 'x') + ";B;1" << m119 << false << designed << true;
}

void NoticeTest::applyNotice()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(QString, address);
    QFETCH(bool, failed);
    const QString UpdateText = updateTextOf(value);
    UpdateOutcome afterDownload;
    afterDownload.statusCaption = message(120);

    const UpdateOutcome outcome = ::applyNotice(UpdateText, afterDownload);

    QCOMPARE(outcome.statusCaption, caption);
    QCOMPARE(outcome.statusEnabled, enabled);
    QCOMPARE(outcome.programPageAddress.value_or(QString()), address);
    QCOMPARE(outcome.UpdateFailed, failed);
    if (!failed) {
        // Every character of the buffer is in a field, the NULs in the last one.
        QVERIFY(outcome.UpdateFields.size() >= 3);
        QCOMPARE(outcome.UpdateFields.join(u';'), UpdateText);
    }
}

void NoticeTest::failureKeepsTheEarlierState()
{
    UpdateOutcome earlier;
    earlier.statusCaption = message(120);
    earlier.statusEnabled = true;
    earlier.programPageAddress = u"http://www.earlier"_qs;
    earlier.UpdateFields = QStringList { u"earlier"_qs };

    const UpdateOutcome outcome = ::applyNotice(updateTextOf("error;B;1"), earlier);

    QCOMPARE(outcome.statusCaption, message(119));
    QVERIFY(outcome.UpdateFailed);
    QVERIFY(outcome.statusEnabled);
    QCOMPARE(outcome.programPageAddress, earlier.programPageAddress);
    QCOMPARE(outcome.UpdateFields, earlier.UpdateFields);
}

void NoticeTest::successClearsUpdateFailed()
{
    UpdateOutcome earlier;
    earlier.UpdateFailed = true;

    QVERIFY(!::applyNotice(updateTextOf("A;B;1"), earlier).UpdateFailed);
}
