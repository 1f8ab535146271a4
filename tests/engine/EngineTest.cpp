#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "DivisionSteps.h"
#include "NumberText.h"
#include "PeriodFinder.h"
#include "Rows.h"

#include <QTest>

Q_DECLARE_METATYPE(Period::Kind)

namespace {

const QString zero = "Chybné zadání => dělení nulou", range = "Chybné zadání => číslo mimo rozsah";
const QString zeroWarning = "Nulou nelze dělit!", rangeWarning = "Tak velká čísla nelze dělit!";
const QString tooLong = "Výsledek je příliš dlouhý, výpočet byl zastaven.";
const qint64 noLimit = DivisionEngine::maximumDigits;

// Plays the main window, noting what the engine did; `atYield` runs inside every yield.
struct Run : DivisionHost
{
    std::u16string dividend, divisor, result;
    QString warnings;
    bool startEnabled = true, enabledInAYield = false;
    std::function<void(int)> atYield = [](int) {};
    int yields = 0;
    DivisionEngine engine;

    Run(const QString &division, qint64 limit = noLimit, qint64 piece = 1,
        const QString &point = ",")
        : dividend(division.section('/', 0, 0).toStdU16String())
        , divisor(division.section('/', 1).toStdU16String())
        , engine(*this, point.toStdU16String(), limit, piece)
    { }

    std::u16string dividendText() const override { return dividend; }
    void setDividendText(std::u16string_view text) override { dividend = text; }
    std::u16string divisorText() const override { return divisor; }
    void setDivisorText(std::u16string_view text) override { divisor = text; }
    void setResultText(std::u16string_view text) override { result = text; }
    void appendToResultText(std::string_view digits) override
    {
        result.append(digits.begin(), digits.end());
    }
    void repeatResultDigits(std::int64_t period, std::int64_t count) override
    {
        for (; count > 0; --count)
            result += result[result.size() - std::size_t(period)];
    }
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void showWarning(std::u16string_view text) override { warnings += QStringView(text); }
    void yield() override
    {
        enabledInAYield |= startEnabled;
        atYield(++yields);
    }
};

// The digits the division's own float steps write, one at a time, and the state after them.
QString steppedDigits(float dividend, float divisor, qsizetype count, float &state)
{
    QString digits;
    state = std::fabs(dividend);
    while (digits.size() < count) {
        state = DivisionSteps::nextDividend(state, std::fabs(divisor));
        digits += QString::number(DivisionSteps::quotientFloor(state, std::fabs(divisor)));
    }
    return digits;
}

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private slots:
    // Floats to 7 significant digits, ties to even, doubles to 15; in full from 10^-4 up.
    void numberTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("isFloat");
        QTest::addColumn<QString>("text");
        row("exponent form from 10^7", 33333332.0, true, "3,333333E+07");
        row("a tie down to even", 12345665.0, true, "1,234566E+07");
        row("a tie up to even", 12345675.0, true, "1,234568E+07");
        row("rounded to seven digits", 1.0 / 3, true, "0,3333333");
        row("10^-4 in full", 0.0001234, false, "0,0001234");
        row("below 10^-4", 0.00001234, false, "1,234E-05");
    }
    void numberTexts()
    {
        QFETCH(double, value);
        QFETCH(bool, isFloat);
        const std::u16string text = isFloat ? NumberText::fromFloat(float(value), u",")
                                            : NumberText::fromDouble(value, u",");
        QTEST(QString::fromStdU16String(text), "text");
    }

    // The operand texts as Start leaves them, in the decimal separator of the locale.
    void operands_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        row("letters and blanks", ",", " 4 2x", "42");
        row("no number", ",", "abc", "0");
        row("an exponent", ",", "1e1", "10");
        row("a point, floored", ",", "2.9", "2");
        row("a comma ends the number", ",", "2,9", "2");
        row("fifteen digits round first", ",", "2.999999999999999", "3");
        row("a negative half, floored", ",", "-2.5", "-3");
        row("exponent form", ".", "1500000000000000", "1.5E+15");
        row("beyond a double", ",", "1e400", "∞");
    }
    void operands()
    {
        QFETCH(QString, point);
        QFETCH(QString, typed);
        Run run(typed + '/' + typed, noLimit, 1, point);
        run.engine.StartDivision();
        QTEST(QString::fromStdU16String(run.dividend), "shown");
        QTEST(QString::fromStdU16String(run.divisor), "shown");
    }

    // Runs to their places, end or limit, or stopped in their tenth yield; in the third yield,
    // places may be set or another division started.
    void runs_data()
    {
        QTest::addColumn<QString>("division");
        QTest::addColumn<float>("places");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<qint64>("piece");
        QTest::addColumn<float>("placesSet");
        QTest::addColumn<QString>("started");
        const auto run
            = [](const char *tag, const char *division, float places, const QString &result,
                  const QString &warning = "", qint64 limit = noLimit, qint64 piece = 1,
                  float placesSet = 0, const QString &started = "") {
                  row(tag, division, places, result, warning, limit, piece, placesSet, started);
              };
        run("ends", "5/8", 0, "0,625");
        run("whole, rounded to a float", "16777217/2", 0, "8388608");
        run("whole, in exponent form", "-2147483648/1", 0, "-2,147484E+09");
        run("places reached", "22/7", 3, "3,142");
        run("places not whole", "1/3", 2.5F, "0,3333333333");
        run("negative", "-1/4", 0, "-0,25");
        run("negative divisor", "5/-2", 0, "-2,5");
        run("negative nought", "-0/-3", 0, "0");
        run("tiny", "1/2000000000", 0, "0,0000000005");
        run("zero divisor", "7/", 0, zero, zeroWarning);
        run("fifteen digits", "1500000000000000/4", 0, range, rangeWarning);
        run("past the 32-bit range", "2147483584/1", 0, range, rangeWarning);
        run("range before nought", "1e20/0", 0, range, rangeWarning);
        run("places set above the digits", "1/3", 0, "0,33333", "", noLimit, 1, 5);
        run("places set at the digits", "1/3", 0, "0,3333333333", "", noLimit, 1, 3);
        const QString forty = "0," + QString("142857").repeated(7).left(40);
        run("places set while copying", "1/7", 0, forty, "", noLimit, 12, 40);
        run("a Start of a division that ends", "1/3", 0, "0,125", "", noLimit, 1, 0, "1/8");
        run("a Start of a zero divisor", "1/3", 0, zero, zeroWarning, noLimit, 1, 0, "1/0");
        run("limit reached", "1/3", 0, "0,333", tooLong, 3);
        run("limit reached by the last digit", "1/8", 0, "0,125", "", 3);
        run("places reached at the limit", "1/3", 3, "0,333", "", 3);
        run("places beyond the limit", "1/3", 4, "0,333", tooLong, 3);
        run("pieces past the places", "1/7", 20, "0,14285714285714285714", "", 50, 7);
        run("pieces on the float steps", "1/16777213", 13, "0,0000000596046", "", 50, 4);
    }
    void runs()
    {
        QFETCH(QString, division);
        QFETCH(float, places);
        QFETCH(qint64, limit);
        QFETCH(qint64, piece);
        QFETCH(float, placesSet);
        QFETCH(QString, started);
        Run run(division, limit, piece);
        run.engine.DecimalPlaces = places;
        run.atYield = [&](int yield) {
            run.engine.Stopped |= yield == 10;
            if (yield == 3 && placesSet > 0)
                run.engine.DecimalPlaces = placesSet;
            if (yield == 3 && !started.isEmpty()) {
                run.dividend = started.section('/', 0, 0).toStdU16String();
                run.divisor = started.section('/', 1).toStdU16String();
                run.engine.Stopped = true;
                run.engine.StartDivision();
            }
        };
        run.engine.StartDivision();
        QTEST(QString::fromStdU16String(run.result), "result");
        QTEST(run.warnings, "warning");
        QVERIFY(run.startEnabled);
        QVERIFY(!run.enabledInAYield);
    }

    // A float counts digits exactly only up to 2^24: 1 / 7 to 16,777,218 places.
    void placesAboveAFloat()
    {
        Run run("1/7", 16777220, 4096);
        run.engine.DecimalPlaces = 16777218;
        run.engine.StartDivision();
        QCOMPARE(run.result.size(), 2 + 16777218);
    }

    // A division to a limit: the period found for its digits, on the integer path and on the float
    // steps, and the engine's digits, in pieces and copied once they repeat, which are the float
    // steps' own, as is its state after the last.
    void toALimit_data()
    {
        using Kind = Period::Kind;
        QTest::addColumn<QString>("division");
        QTest::addColumn<int>("limit");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("preperiod");
        QTest::addColumn<int>("length");
        row("ends at the limit", "1/1024", 10, Kind::Ends, 10, 0);
        row("ends past the limit", "1/1024", 9, Kind::BeyondLimit, 0, 0);
        row("repeats at once, to the limit", "1/7", 6, Kind::Repeats, 0, 6);
        row("repeats past the limit", "1/7", 5, Kind::BeyondLimit, 0, 0);
        row("a pre-period, copied", "1/12", 1000, Kind::Repeats, 2, 1);
        row("copied on the integer path", "1/9973", 40000, Kind::Repeats, 0, 554);
        row("the last divisor of the integer path", "1/1677721", 25420, Kind::Repeats, 0, 25420);
        row("exact float steps past it", "1/1677722", 300000, Kind::Repeats, 1, 6336);
        row("negative, on exact float steps", "7/-2000003", 1500000, Kind::Repeats, 0, 1000001);
        row("digits repeat before the steps", "106934664/1073741760", 50000, Kind::Repeats, 0, 895);
        row("the same for another dividend", "50682428/1073741760", 50000, Kind::Repeats, 0, 895);
        row("steps and digits alike", "1/16777213", 66000, Kind::Repeats, 176, 1446);
        row("rounded steps past the limit", "1/16777213", 1621, Kind::BeyondLimit, 0, 0);
    }
    void toALimit()
    {
        QFETCH(QString, division);
        QFETCH(int, limit);
        const float dividend = division.section('/', 0, 0).toFloat();
        const float divisor = division.section('/', 1).toFloat();
        const Period found = findPeriod(dividend, divisor, limit);
        QTEST(found.kind, "kind");
        QTEST(int(found.preperiod), "preperiod");
        QTEST(int(found.length), "length");
        Run run(division, limit, 4096);
        run.engine.StartDivision();
        const QString digits = QString::fromStdU16String(run.result).section(',', 1);
        float state = 0;
        QCOMPARE(digits, steppedDigits(dividend, divisor, digits.size(), state));
        QCOMPARE(run.engine.Dividend, state);
        QCOMPARE(run.engine.DigitCount, float(digits.size()));
    }
};

QTEST_APPLESS_MAIN(EngineTest)
#include "EngineTest.moc"
