#include "CatalogueText.h"
#include "CodePage1250.h"
#include "DecimalPlacesText.h"
#include "MessageCatalogue.h"
#include "PeriodStatement.h"
#include "Rows.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(Period)

class TextsTest : public QObject
{
    Q_OBJECT

private slots:
    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        row("ASCII", "5 / 8 = \r\n", QByteArray("5 / 8 = \r\n"));
        row("Czech letters", "čřŠŽů", QByteArray("\xE8\xF8\x8A\x8E\xF9"));
        row("euro and low quotes", "€„", QByteArray("\x80\x84"));
        row("a letter the code page lacks", "日", QByteArray("?"));
        row("U+0080, which has no byte", "\u0080", QByteArray("?"));
        row("U+0081, which has no byte", "\u0081", QByteArray("?"));
        row("a surrogate pair is one character", "x😀y", QByteArray("x?y"));
        row("a high surrogate alone", QString::fromUtf16(u"\xD83Dz"), QByteArray("?z"));
        row("a low surrogate alone", QString::fromUtf16(u"a\xDE00"), QByteArray("a?"));
        row("a high surrogate last", QString::fromUtf16(u"a\xD83D"), QByteArray("a?"));
        row("the last byte of the code page", "˙", QByteArray("\xFF"));
    }
    void encode()
    {
        QFETCH(QString, text);
        QTEST(QByteArray::fromStdString(CodePage1250::encode(text.toStdU16String())), "bytes");
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        row("ASCII", QByteArray("90220=A;B;1"), "90220=A;B;1");
        row("Czech letters", QByteArray("\xE8\xF8\x8A\x8E\xF9"), "čřŠŽů");
        row("the euro, byte 0x80", QByteArray("\x80"), "€");
        row("an undefined byte", QByteArray("\x81"), "\uFFFD");
        row("the last byte", QByteArray("\xFF"), "˙");
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QTEST(QString::fromStdU16String(CodePage1250::decode(bytes.toStdString())), "text");
    }

    void messages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        row("the first", 101, "Chybné zadání => dělení nulou");
        row("blanks kept at the end", 117, "Počítat na ");
        row("blanks kept at the start", 115, " desetinných míst");
        row("quotes kept", 116, "(0 = \"nekonečno\")");
        row("the last", 134, "Kopírovat s &periodou");
    }
    void messages()
    {
        QFETCH(int, number);
        QTEST(message(number), "text");
    }

    void numbersOutsideTheCatalogue()
    {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, MessageCatalogue::text(100));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, MessageCatalogue::text(135));
    }

    // The help text: eleven lines, five of them empty, none after the last.
    void helpText()
    {
        const QStringList lines = message(118).split("\r\n");
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[4] + lines[6] + lines[8] + lines[9], "");
        QCOMPARE(lines[1], "");
        QCOMPARE(lines[5], "Přerušit počítní můžete kdykoliv tlačítkem \"Zastavit\"");
        QVERIFY(!lines[10].isEmpty());
    }

    void decimalPlacesLabel_data()
    {
        QTest::addColumn<float>("places");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("label");
        row("none", 0.0F, ",", "Počítat na 0 desetinných míst   (0 = \"nekonečno\")");
        row("three", 3.0F, ",", "Počítat na 3 desetinných míst   (0 = \"nekonečno\")");
        row("a half, in the locale's notation", 2.5F, ".",
            "Počítat na 2.5 desetinných míst   (0 = \"nekonečno\")");
        row("above what a float counts", 16777217.0F, ",",
            "Počítat na 1,677722E+07 desetinných míst   (0 = \"nekonečno\")");
    }
    void decimalPlacesLabel()
    {
        QFETCH(float, places);
        QFETCH(QString, separator);
        QTEST(DecimalPlacesText::label(places, separator), "label");
    }

    void decimalPlacesPrompt()
    {
        QCOMPARE(DecimalPlacesText::prompt(3, ","),
            "Zadejte počet desetinných míst k vypočítání\r\nNyní na 3 desetinných míst\r\n"
            "(0 = \"nekonečno\")");
    }

    // After 7 places, the answer typed.
    void decimalPlacesAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<float>("places");
        row("nothing, or Cancel", "", 7.0F);
        row("a number", "5", 5.0F);
        row("a negative number", "-5", 5.0F);
        row("a point", "2.5", 2.5F);
        row("a comma ends the number", "2,5", 2.0F);
        row("a blank between digits", "1 2", 12.0F);
        row("an exponent", "1e3", 1000.0F);
        row("no number", "abc", 0.0F);
        row("blanks", "   ", 0.0F);
        row("the nearest float", "16777217", 16777216.0F);
        row("beyond a float", "1e39", 7.0F);
        row("beyond a double", "1e400", 7.0F);
    }
    void decimalPlacesAnswer()
    {
        QFETCH(QString, answer);
        QTEST(DecimalPlacesText::afterAnswer(7, answer), "places");
    }

    void negativeZeroAnswerIsPositive()
    {
        QVERIFY(!std::signbit(DecimalPlacesText::afterAnswer(7, "-0")));
    }

    void periodStatement_data()
    {
        using Kind = Period::Kind;
        QTest::addColumn<Period>("period");
        QTest::addColumn<QString>("statement");
        row("ends", Period { Kind::Ends, 3 }, "Výsledek je konečný");
        row("a period of one digit", Period { Kind::Repeats, 0, 1 },
            "Perioda: 1 číslice od 1. desetinného místa");
        row("two digits", Period { Kind::Repeats, 0, 2 },
            "Perioda: 2 číslice od 1. desetinného místa");
        row("four digits", Period { Kind::Repeats, 0, 4 },
            "Perioda: 4 číslice od 1. desetinného místa");
        row("five digits", Period { Kind::Repeats, 0, 5 },
            "Perioda: 5 číslic od 1. desetinného místa");
        row("many digits, grouped", Period { Kind::Repeats, 0, 1677702 },
            "Perioda: 1_677_702 číslic od 1. desetinného místa");
        row("a pre-period of one digit", Period { Kind::Repeats, 1, 6 },
            "Předperioda: 1 číslice, perioda: 6 číslic od 2. desetinného místa");
        row("a pre-period of five digits", Period { Kind::Repeats, 5, 2 },
            "Předperioda: 5 číslic, perioda: 2 číslice od 6. desetinného místa");
        row("a place far on, grouped", Period { Kind::Repeats, 1234, 1 },
            "Předperioda: 1_234 číslic, perioda: 1 číslice od 1_235. desetinného místa");
        row("beyond the limit", Period { Kind::BeyondLimit },
            "Perioda nekončí do 100_000_000 desetinných míst");
    }
    void periodStatement()
    {
        QFETCH(Period, period);
        QFETCH(QString, statement);
        // Groups of digits are kept together by no-break spaces, written _ here.
        QCOMPARE(::periodStatement(period, 100'000'000), statement.replace('_', u'\u00A0'));
    }
};

QTEST_APPLESS_MAIN(TextsTest)
#include "TextsTest.moc"
