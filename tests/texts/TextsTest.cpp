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
        row("U+0080, which has no byte", "\u0080", QByteArray("?"));
        row("a surrogate pair is one character", "x😀y", QByteArray("x?y"));
        row("a high surrogate alone", QString::fromUtf16(u"\xD83Dz"), QByteArray("?z"));
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
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QTEST(QString::fromStdU16String(CodePage1250::decode(bytes.toStdString())), "text");
    }

    void numbersOutsideTheCatalogue()
    {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, MessageCatalogue::text(100));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, MessageCatalogue::text(135));
    }

    // In the locale's notation.
    void decimalPlacesTexts()
    {
        QCOMPARE(DecimalPlacesText::label(2.5F, "."),
            "Počítat na 2.5 desetinných míst   (0 = \"nekonečno\")");
        QCOMPARE(DecimalPlacesText::prompt(3, ","),
            "Zadejte počet desetinných míst k vypočítání\r\nNyní na 3 desetinných míst\r\n"
            "(0 = \"nekonečno\")");
    }

    // After 7 places, the answer typed; never a negative number of places.
    void decimalPlacesAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<float>("places");
        row("nothing, or Cancel", "", 7.0F);
        row("a negative number", "-5", 5.0F);
        row("a point", "2.5", 2.5F);
        row("no number", "abc", 0.0F);
        row("negative nought", "-0", 0.0F);
        row("beyond a float", "1e39", 7.0F);
    }
    void decimalPlacesAnswer()
    {
        QFETCH(QString, answer);
        const float places = DecimalPlacesText::afterAnswer(7, answer);
        QTEST(places, "places");
        QVERIFY(!std::signbit(places));
    }

    void periodStatement_data()
    {
        using Kind = Period::Kind;
        QTest::addColumn<Period>("period");
        QTest::addColumn<QString>("statement");
        const auto repeats = [](qint64 preperiod, qint64 length) {
            return Period { Kind::Repeats, preperiod, length };
        };
        row("ends", Period { Kind::Ends, 3 }, "Výsledek je konečný");
        row("a period of one digit", repeats(0, 1), "Perioda: 1 číslice od 1. desetinného místa");
        row("four digits", repeats(0, 4), "Perioda: 4 číslice od 1. desetinného místa");
        row("five digits", repeats(0, 5), "Perioda: 5 číslic od 1. desetinného místa");
        row("many digits, grouped", repeats(0, 1677702),
            "Perioda: 1_677_702 číslic od 1. desetinného místa");
        row("a pre-period of one digit", repeats(1, 6),
            "Předperioda: 1 číslice, perioda: 6 číslic od 2. desetinného místa");
        row("a pre-period and a place far on, grouped", repeats(1234, 2),
            "Předperioda: 1_234 číslic, perioda: 2 číslice od 1_235. desetinného místa");
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
