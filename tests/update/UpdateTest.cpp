#include "NoticeReader.h"

#include <QTest>

// UpdateText: the value of key 90220 in section Update or "error", 127 characters at most and NUL
// characters up to 128. The notice corpus of fuzz_notice holds the other cases of the read.
class UpdateTest : public QObject
{
    Q_OBJECT

private slots:
    void notice_data()
    {
        QTest::addColumn<QByteArray>("notice");
        QTest::addColumn<QString>("value");
        auto row = [](const char *tag, const QByteArray &notice, const QString &value) {
            QTest::newRow(tag) << notice << value;
        };
        row("first key of the section", "[O]\r\n90220=a\r\n[Update]\r\n90220=A;B;1\r\n90220=C",
            "A;B;1");
        row("cut to 127", "[Update]\n90220=Nov\xE1;" + QByteArray(200, 'x'),
            "Nová;" + QString(122, 'x'));
        row("NUL ends the value", QByteArray("[Update]\n\0\n90220=A;B\0;1", 23), "A;B");
    }
    void notice()
    {
        QFETCH(QByteArray, notice);
        QFETCH(QString, value);
        QCOMPARE(NoticeReader::updateText({ notice.constData(), size_t(notice.size()) }),
            value + QString(128 - value.size(), QChar(0)));
    }
};

QTEST_APPLESS_MAIN(UpdateTest)
#include "UpdateTest.moc"
