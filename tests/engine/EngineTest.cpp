#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "DivisionSteps.h"
#include "NumberText.h"
#include "PeriodFinder.h"
#include "Rows.h"

#include <QRandomGenerator>
#include <QTest>
#include <numeric>

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
    QStringList warnings;
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
    QString text() const { return QString::fromStdU16String(result); }

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
        result.resize(result.size() + std::size_t(count));
        for (std::size_t at = result.size() - std::size_t(count); at < result.size(); ++at)
            result[at] = result[at - std::size_t(period)];
    }
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void showWarning(std::u16string_view text) override
    {
        warnings << QString::fromStdU16String(std::u16string(text));
    }
    void yield() override
    {
        enabledInAYield |= startEnabled;
        atYield(++yields);
    }
};

// The exact fraction: the digits before the period are the larger power of 2 or 5 in the reduced
// divisor, the period the order of 10 modulo the rest, if any.
std::pair<qint64, qint64> exactPeriod(qint64 dividend, qint64 divisor)
{
    divisor /= std::gcd(dividend, divisor);
    qint64 twos = 0, fives = 0, order = 1;
    for (; divisor % 2 == 0; ++twos)
        divisor /= 2;
    for (; divisor % 5 == 0; ++fives)
        divisor /= 5;
    for (qint64 power = 10 % divisor; power > 1; power = power * 10 % divisor)
        ++order;
    return { std::max(twos, fives), divisor == 1 ? 0 : order };
}

// The digits the division's own float steps write, one at a time, and the state after them.
QString steppedDigits(float dividend, float divisor, qsizetype count, float *state = nullptr)
{
    QString digits;
    float partial = std::fabs(dividend);
    while (digits.size() < count) {
        partial = DivisionSteps::nextDividend(partial, std::fabs(divisor));
        const float digit = DivisionSteps::quotientFloor(partial, std::fabs(divisor));
        digit < 10 ? digits += QChar(u'0' + int(digit)) : digits += QString::number(digit);
    }
    if (state)
        *state = partial;
    return digits;
}

// Divisions of every kind: ending, repeating at once or later, negative, on the integer path and
// on the float steps, and random operands about the largest divisor of the integer path.
QList<std::pair<int, int>> periodRows()
{
    QList<std::pair<int, int>> rows { { 1, 7 }, { 22, 7 }, { 1, 12 }, { 5, 8 }, { 1, 9973 },
        { 355, 113 }, { -1, 7 }, { 7, -2000003 }, { 1, 16777213 } };
    QRandomGenerator random(2026);
    for (int row = 0; row < 6; ++row)
        rows.append({ random.bounded(1 << 30), 1677721 - 3 + random.bounded(6) });
    return rows;
}

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private slots:
    // A float written with 7 significant digits, a double with 15, in full from 10^-4 up.
    void numberTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("isFloat");
        QTest::addColumn<QString>("text");
        row("seven digits in full", 8388608.0, true, "8388608");
        row("exponent form from 10^7", 33333332.0, true, "3,333333E+07");
        row("rounded to seven digits", 1.0 / 3, true, "0,3333333");
        row("10^-4 in full", 0.0001234, false, "0,0001234");
        row("below 10^-4", 0.00001234, false, "1,234E-05");
        row("fifteen digits", 123456789012345.0, false, "123456789012345");
        row("rounded to fifteen digits", 0.1 + 0.2, false, "0,3");
        row("infinity", -qInf(), false, "-∞");
    }
    void numberTexts()
    {
        QFETCH(double, value);
        QFETCH(bool, isFloat);
        const std::u16string text = isFloat ? NumberText::fromFloat(float(value), u",")
                                            : NumberText::fromDouble(value, u",");
        QTEST(QString::fromStdU16String(text), "text");
    }

    // A whole float as a 32-bit integer, ties to even; nothing outside the range.
    void toInt32_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("integer");
        row("a tie down to even", 2.5F, "2");
        row("a tie up to even", 3.5F, "4");
        row("a negative tie", -2.5F, "-2");
        row("the least", -2147483648.0F, "-2147483648");
        row("2^31, past the greatest", 2147483648.0F, "none");
        row("not a number", float(qQNaN()), "none");
    }
    void toInt32()
    {
        QFETCH(float, value);
        const auto integer = NumberText::toInt32(value);
        QTEST(integer ? QString::number(*integer) : "none", "integer");
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
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<qint64>("piece");
        QTest::addColumn<float>("placesSet");
        QTest::addColumn<QString>("started");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("warning");
        struct Extra
        {
            qint64 limit = noLimit, piece = 1;
            float placesSet = 0;
            QString started {};
        };
        const auto run = [](const char *tag, const char *division, float places,
                             const QString &result, const QString &warning = "", Extra extra = {}) {
            row(tag, division, places, extra.limit, extra.piece, extra.placesSet, extra.started,
                result, warning);
        };
        run("ends", "5/8", 0, "0,625");
        run("whole", "10/5", 0, "2");
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
        run("places set above the digits", "1/3", 0, "0,33333", "", { .placesSet = 5 });
        run("places set at the digits", "1/3", 0, "0,3333333333", "", { .placesSet = 3 });
        const QString forty = "0," + QString("142857").repeated(7).left(40);
        run("places set while copying", "1/7", 0, forty, "", { .piece = 12, .placesSet = 40 });
        run("a Start of a division that ends", "1/3", 0, "0,125", "", { .started = "1/8" });
        run("a Start of a zero divisor", "1/3", 0, zero, zeroWarning, { .started = "1/0" });
        run("limit reached", "1/3", 0, "0,333", tooLong, { .limit = 3 });
        run("limit reached by the last digit", "1/8", 0, "0,125", "", { .limit = 3 });
        run("places reached at the limit", "1/3", 3, "0,333", "", { .limit = 3 });
        run("places beyond the limit", "1/3", 4, "0,333", tooLong, { .limit = 3 });
        run("pieces past the places", "1/7", 20, "0,14285714285714285714", "", { 50, 7 });
        run("pieces to the limit", "1/7", 0, "0,142857142857142", tooLong, { 15, 7 });
        run("pieces on the float steps", "1/16777213", 13, "0,0000000596046", "", { 50, 4 });
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
        QTEST(run.text(), "result");
        QTEST(run.warnings.join('|'), "warning");
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

    // Against the exact fraction where the steps are exact (ten times a remainder below 2^25), and
    // against the float steps' own digits; a limit one short of the first period is beyond it.
    void period_data()
    {
        QTest::addColumn<int>("dividend");
        QTest::addColumn<int>("divisor");
        for (const auto &[dividend, divisor] : periodRows())
            QTest::addRow("%d/%d", dividend, divisor) << dividend << divisor;
    }
    void period()
    {
        QFETCH(int, dividend);
        QFETCH(int, divisor);
        const Period found = findPeriod(float(dividend), float(divisor), 10'000'000);
        const qint64 start = found.preperiod, length = found.length;
        if (10LL * std::abs(divisor) < 1 << 25) // a dividend above 2^24 is taken as a float
            QCOMPARE(std::pair(start, length),
                exactPeriod(qint64(std::fabs(float(dividend))), std::abs(divisor)));
        const QString digits = steppedDigits(dividend, divisor, start + 2 * length + 1);
        QCOMPARE(digits.mid(start, length), digits.mid(start + length, length));
        QVERIFY(start == 0 || !length || digits[start - 1] != digits[start + length - 1]);
        QCOMPARE(findPeriod(dividend, divisor, start + length - 1).kind, Period::Kind::BeyondLimit);
    }

    void periodKinds_data()
    {
        using Kind = Period::Kind;
        QTest::addColumn<int>("dividend");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<qint64>("preperiod");
        QTest::addColumn<qint64>("length");
        const qint64 far = 10'000'000, none = 0;
        row("ends at the limit", 1, 1024, qint64(10), Kind::Ends, qint64(10), none);
        row("ends past the limit", 1, 1024, qint64(9), Kind::BeyondLimit, none, none);
        row("digits repeat before the steps", 106934664, 1073741760, far, Kind::Repeats, none,
            qint64(895));
        row("the same for another dividend", 50682428, 1073741760, far, Kind::Repeats, none,
            qint64(895));
        row("steps and digits alike", 1, 16777213, far, Kind::Repeats, qint64(176), qint64(1446));
    }
    void periodKinds()
    {
        QFETCH(int, dividend);
        QFETCH(int, divisor);
        QFETCH(qint64, limit);
        const Period found = findPeriod(float(dividend), float(divisor), limit);
        QTEST(found.kind, "kind");
        QTEST(qint64(found.preperiod), "preperiod");
        QTEST(qint64(found.length), "length");
    }

    // The engine's digits, in pieces, on its integer path and copied once they repeat, are the
    // float steps' own: to a limit inside the first period, at its end and, where the integer path
    // sees a state again soon enough, far past it.
    void digitsOfTheFloatSteps_data()
    {
        QTest::addColumn<QString>("division");
        QTest::addColumn<qint64>("limit");
        for (const auto &[dividend, divisor] : periodRows()) {
            const Period period = findPeriod(float(dividend), float(divisor), 10'000'000);
            const qint64 first = period.preperiod + period.length;
            const QString division = QString("%1/%2").arg(dividend).arg(divisor);
            for (const qint64 limit : { std::max<qint64>(1, first - 1), first, 40 * first + 1000 })
                if (limit < 20'000'000)
                    QTest::addRow("%s to %lld", qPrintable(division), limit) << division << limit;
        }
    }
    void digitsOfTheFloatSteps()
    {
        QFETCH(QString, division);
        QFETCH(qint64, limit);
        Run run(division, limit, 4096);
        run.engine.StartDivision();
        const QString digits = run.text().section(',', 1);
        float state = 0;
        QCOMPARE(digits,
            steppedDigits(division.section('/', 0, 0).toInt(), division.section('/', 1).toInt(),
                digits.size(), &state));
        QCOMPARE(run.engine.Dividend, state);
        QCOMPARE(run.engine.DigitCount, float(digits.size()));
    }
};

QTEST_APPLESS_MAIN(EngineTest)
#include "EngineTest.moc"
