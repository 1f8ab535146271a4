#include "NoticeReader.h"
#include "UpdateOutcome.h"

#include <QTest>

// The program's entry of an update notice, and what the About window makes of it.
class UpdateTest : public QObject
{
    Q_OBJECT

private slots:
    void notice_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown"); // status line, "+" when enabled; "" for message 119
        const QByteArray x124(124, 'x');
        auto row
            = [](const char *name, const QByteArray &file, const QString &value,
                  const QString &shown = "") { QTest::newRow(name) << file << value << shown; };
        row("usable", "[Update]\r\n90220=A;B;1\r\n", "A;B;1", "A+");
        row("flag 0", "[Update]\n90220=A;B;0", "A;B;0", "A");
        row("flag 10, fourth field", "[Update]\n90220=A;B;10;D", "A;B;10;D", "A+");
        row("empty status", "[Update]\n90220=;B;1", ";B;1", "+");
        row("Windows-1250", "[Update]\n90220=Nov\xE1;B;", "Nová;B;", "Nová");
        row("capital Error", "[Update]\n90220=Error;B;1", "Error;B;1", "Error+");
        row("error", "[Update]\n90220=errorA;B;1", "errorA;B;1");
        row("two fields", "[Update]\n90220=A;B", "A;B");
        row("cut to 127", "[Update]\n90220=" + x124 + ";B;1", x124 + ";B;", x124);
        row("missing section and key", "[Updates]\n90220=A;B;1\n[Update]\n9022=A;B;1\n902201=A;B;1",
            "error");
        row("other sections and keys", "[O]\n90220=a;B;1\n[Update]\n9=x\n90220=A;B;1\n[N]", "A;B;1",
            "A+");
        row("names without case", "[uPDATE]\n90220=A;B;1", "A;B;1", "A+");
        row("blanks", " \t[ \tUpdate\t ] \n \t90220 \t= \tA;B;1 \t\n", "A;B;1", "A+");
        row("first key wins", "[Update]\n90220=A;B;1\n90220=C;D;1", "A;B;1", "A+");
        row("lines without =", "[Update]\n90220\n90220 C\n90220=A;B;1", "A;B;1", "A+");
        row("lone CR", "[Update]\rx=1\r90220=A;B;1\r", "A;B;1", "A+");
        row("empty value", "[Update]\n90220=  \n", "");
        row("quotes dropped", "[Update]\n90220='A;B;1'", "A;B;1", "A+");
        row("empty quotes", "[Update]\n90220=\"\"", "");
        row("NUL ends the value", QByteArray("[Update]\n90220=A;B\0;1", 21), "A;B");
        row("NUL line", QByteArray("[Update]\n\0\n90220=A;B;1", 22), "A;B;1", "A+");
    }
    void notice()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        const QString UpdateText
            = NoticeReader::updateText({ file.constData(), size_t(file.size()) });
        QCOMPARE(UpdateText, value + QString(128 - value.size(), QChar(0)));
        const UpdateOutcome outcome = applyNotice(UpdateText);
        QCOMPARE(outcome.statusCaption + (outcome.statusEnabled ? "+" : ""),
            outcome.UpdateFailed ? "Při stahování došlo k chybě" : shown);
        QCOMPARE(outcome.UpdateFields.value(1), outcome.UpdateFailed ? "" : "B");
        QCOMPARE(outcome.UpdateFailed, shown.isEmpty());
    }
};

QTEST_APPLESS_MAIN(UpdateTest)
#include "UpdateTest.moc"
