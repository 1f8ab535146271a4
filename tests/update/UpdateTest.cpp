#include "NoticeReader.h"

#include <QTest>

// UpdateText: the value of key 90220 in section Update or "error", 127 characters at most and NUL
// characters up to 128.
class UpdateTest : public QObject
{
    Q_OBJECT

private slots:
    void notice()
    {
        const std::pair<QByteArray, QString> cases[] = {
            { "[O]\r\n90220=a\r\n[Update]\r\n9=b\r\n90220=A;B;1\r\n90220=C\r\n", "A;B;1" },
            { "[Update]\n90220=Nov\xE1;" + QByteArray(200, 'x'), "Nová;" + QString(122, 'x') },
            { "[Updates]\n90220=a\n[Update]\n9022=b\n902201=c", "error" },
            { " \t[ \tuPDATE\t ] \n \t90220 \t= \tA;B \t\n", "A;B" },
            { "[Update]\n[O]\n[Update]\n90220\n90220 B\r90220='A'", "A" },
            { "[Update]\n90220=  \n", "" },
            { "[Update]\n90220=\"\"", "" },
            { QByteArray("[Update]\n\0\n90220=A;B\0;1", 23), "A;B" },
        };
        for (const auto &[file, value] : cases)
            QCOMPARE(NoticeReader::updateText({ file.constData(), size_t(file.size()) }),
                value + QString(128 - value.size(), QChar(0)));
    }
};

QTEST_APPLESS_MAIN(UpdateTest)
#include "UpdateTest.moc"
