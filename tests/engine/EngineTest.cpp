#include "CodePage1250.h"
#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "MessageCatalogue.h"

#include <QTest>
#include <functional>
#include <stdexcept>

namespace {

const QString zeroDivisor = "Chybné zadání => dělení nulou";
const QString outOfRange = "Chybné zadání => číslo mimo rozsah";

// Plays the main window for the engine and notes what the engine did to it.
struct RecordingHost : DivisionHost
{
    std::u16string dividend, divisor, result, warnings;
    bool startEnabled = true, enabledInAYield = false;
    int yields = 0;
    std::function<void(int)> onYield;

    std::u16string dividendText() const override { return dividend; }
    void setDividendText(std::u16string_view text) override { dividend = text; }
    std::u16string divisorText() const override { return divisor; }
    void setDivisorText(std::u16string_view text) override { divisor = text; }
    void setResultText(std::u16string_view text) override { result = text; }
    void appendToResultText(std::u16string_view text) override { result += text; }
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void showWarning(std::u16string_view text) override { warnings += text; }
    void yield() override
    {
        enabledInAYield |= startEnabled;
        onYield(++yields);
    }
};

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private slots:
    // "." stands for the locale's separator. `events` pairs a yield with what happens in it:
    // Stop, DecimalPlaces set to 5, or a run of 5 / 8 started.
    void division_data()
    {
        for (const char *column : { "separator", "operands", "result", "after", "events" })
            QTest::addColumn<QString>(column);
        QTest::addColumn<float>("places");
        for (const char *separator : { ",", "." }) {
            auto row = [separator](const char *name, const char *operands, QString result,
                           QString after = {}, const char *events = "", float places = 0) {
                QTest::addRow("%s %s", name, separator)
                    << separator << operands << result.replace('.', separator)
                    << after.replace('.', separator) << events << places;
            };
            row("terminating", "5/8", "0,625");
            row("limit truncates", "22/7", "3,142", "", "", 3);
            row("limit before zero remainder", "1/4", "0,2", "", "", 1);
            row("zero remainder before limit", "1/4", "0,25", "", "", 3);
            row("whole quotient", "10/5", "2", "", "", 4);
            row("empty dividend", "/8", "0", "0/8");
            row("empty divisor", "7/", zeroDivisor, "7/0");
            row("comma ends an operand", "2,9/1", "2", "2/1");
            row("floored", "-2.5/2", "-1,5", "-3/2");
            row("both negative", "-7/-2", "3,5");
            row("negative below one", "-1/4", "-0,25");
            row("zero over negative", "-0/-3", "0", "0/-3");
            row("rounded to a float", "16777217/2", "8388608");
            row("whole in exponent form", "-2147483648/1", "-2.147484E+09");
            row("partial dividend over 32 bits", "1/2000000000", "0,0000000005");
            row("exponent form out of range", "1500000000000000/4", outOfRange, "1.5E+15/4");
            row("dividend out of range", "2147483584/1", outOfRange);
            row("divisor out of range", "5/3000000000", outOfRange);
            row("infinite operand", "1e400/3", outOfRange, "∞/3");
            row("out of range before zero", "1e20/0", outOfRange, "1E+20/0");
            row("stop after its digit", "1/3", "0,33333", "", "5 stop");
            row("non-whole limit", "1/3", "0,3333333333", "", "10 stop", 2.5F);
            row("limit raised in a run", "1/3", "0,33333", "", "2 places 50 stop");
            row("limit passed in a run", "1/3", "0,33333333", "", "6 places 8 stop");
            row("start in a run ends it", "1/3", "0,625", "5/8", "3 start");
        }
    }
    void division()
    {
        QFETCH(QString, operands);
        QFETCH(QString, result);
        QFETCH(QString, events);
        QFETCH(QString, separator);
        RecordingHost host;
        host.dividend = operands.section('/', 0, 0).toStdU16String();
        host.divisor = operands.section('/', 1).toStdU16String();
        DivisionEngine engine(host, separator.toStdU16String());
        QFETCH(float, places);
        engine.DecimalPlaces = places;
        const QStringList event = events.split(' ');
        host.onYield = [&](int yield) {
            const QString what = event.value(event.indexOf(QString::number(yield)) + 1);
            engine.Stopped |= what == "stop";
            engine.DecimalPlaces = what == "places" ? 5 : engine.DecimalPlaces;
            if (what == "start") {
                host.dividend = u"5";
                host.divisor = u"8";
                engine.StartDivision();
            }
        };

        engine.StartDivision();

        QCOMPARE(QString::fromStdU16String(host.result), result);
        QFETCH(QString, after);
        QCOMPARE(QString::fromStdU16String(host.dividend + u'/' + host.divisor),
            after.isEmpty() ? operands : after);
        QCOMPARE(QString::fromStdU16String(host.warnings),
            result == zeroDivisor      ? "Nulou nelze dělit!"
                : result == outOfRange ? "Tak velká čísla nelze dělit!"
                                       : "");
        QVERIFY(engine.Stopped && host.startEnabled && !host.enabledInAYield);
        // A yield after every digit; a whole quotient in exponent form may hold a comma of its own.
        const qsizetype comma = result.contains('E') ? -1 : result.indexOf(',');
        QCOMPARE(
            host.yields, (comma < 0 ? 0 : result.size() - comma - 1) + 3 * (events == "3 start"));
    }

    void codePage()
    {
        QCOMPARE(CodePage1250::encode(u"Vypočítáno ŘŠŽ€„ a∞日\u0081\r\n"),
            "Vypo\xE8\xEDt\xE1no \xD8\x8A\x8E\x80\x84 a???\r\n");
        QCOMPARE(CodePage1250::encode(u"x😀y\xD800z\xD83D\xE000"), "x?y?z??"); // a pair is one
        std::string everyByte, undefinedAsMarks;
        for (int b = 0; b < 256; ++b) {
            everyByte += char(b);
            undefinedAsMarks
                += QByteArray("\x81\x83\x88\x90\x98").contains(char(b)) ? '?' : char(b);
        }
        QCOMPARE(CodePage1250::decode(everyByte)[0x81], u'\uFFFD');
        QCOMPARE(CodePage1250::encode(CodePage1250::decode(everyByte)), undefinedAsMarks);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, MessageCatalogue::text(124));
    }
};

QTEST_APPLESS_MAIN(EngineTest)
#include "EngineTest.moc"
