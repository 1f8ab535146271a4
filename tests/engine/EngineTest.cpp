#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "DivisionSteps.h"
#include "PeriodFinder.h"

#include <QRandomGenerator>
#include <QTest>
#include <functional>
#include <numeric>

namespace {

const QString zero = "Chybné zadání => dělení nulou", range = "Chybné zadání => číslo mimo rozsah";

// Plays the main window, noting what the engine did.
struct RecordingHost : DivisionHost
{
    std::u16string dividend, divisor, result, warnings;
    bool startEnabled = true;
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
    void yield() override { onYield(++yields); }
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
    return std::pair(std::max(twos, fives), divisor == 1 ? 0 : order);
}

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT

private slots:
    // Operands as typed and, after "=", as left ("." for the separator). Events come in the third
    // yield (places, a Start) or the fifth (Stop); a "limit N" run has N digits; others stop at 10.
    void division_data()
    {
        for (const char *column : { "separator", "operands", "result", "event" })
            QTest::addColumn<QString>(column);
        QTest::addColumn<float>("places");
        auto row = [](const char *operands, QString result, float places = 0,
                       const char *event = "",
                       std::initializer_list<const char *> separators = { ",", "." }) {
            for (const char *sep : separators)
                QTest::addRow("%s %s %s", operands, event, sep)
                    << sep << operands << QString(result).replace('.', sep) << event << places;
        };
        row("5/8", "0,625");
        row("abc/ 4 2x=0/42", "0");
        row("/8=0/8", "0");
        row("1e1/.4e1=10/4", "2,5");
        row(".5/.4=0/0", zero);
        row("5./-1.5E0x=5/-2", "-2,5");
        row("22/7", "3,142", 3);
        row("7/=7/0", zero);
        row("2,9/1=2/1", "2");
        row("2.999999999999999/1=3/1", "3");
        row("-5e-5/1=-1/1", "-1");
        row("-2.5/2=-3/2", "-1,5");
        row("-1/4", "-0,25");
        row("-0/-3=0/-3", "0");
        row("16777217/2", "8388608");
        row("20000000/2", "1E+07");
        row("-2147483648/1", "-2.147484E+09");
        row("1/2000000000", "0,0000000005");
        row("1500000000000000/4=1.5E+15/4", range);
        row("2147483584/1", range);
        row("1e400/3=∞/3", range);
        row("1e20/0=1E+20/0", range);
        row("1e39/3=1E+39/3", range);
        row("1e18446744073709551621/3=∞/3", range);
        row("1/3", "0,33333", 0, "stop");
        row("1/3", "0,3333333333", 2.5F);
        row("1/3", "0,33333", 0, "5 places");
        row("1/3", "0,3333333333", 0, "2 places");
        row("1/3", "0,625", 0, "Start of 5/8");
        row("1/3", "0,333", 0, "limit 3");
        row("1/8", "0,125", 0, "limit 3 with the last digit");
        row("1/7", "0,14285714285714285714", 20, "limit 50");
        row("1/3", "0,33333333", 0, "8 places, pieces 2");
        row("1/7", "0,14285714285714285714", 20, "limit 50, pieces 7");
        row("1/16777213", "0,0000000596046", 13, "limit 50, pieces 4");
        row("1/3", zero, 0, "limit 3, Start of 1/0");
        // More places than a float counts, once: it takes 16 million digits.
        row("1/7", "0," + QString("142857").repeated(2796203).left(16777218), 16777218,
            "limit 16777220", { "," });
    }
    void division()
    {
        QFETCH(QString, operands);
        QFETCH(QString, result);
        QFETCH(QString, event);
        QFETCH(QString, separator);
        QFETCH(float, places);
        const QString typed = operands.section('=', 0, 0), nested = event.section("of ", 1);
        RecordingHost host;
        host.dividend = typed.section('/', 0, 0).toStdU16String();
        host.divisor = typed.section('/', 1).toStdU16String();
        const qint64 limit = event.startsWith("limit")
            ? event.section(' ', 1, 1).remove(',').toLongLong()
            : DivisionEngine::maximumDigits;
        DivisionEngine engine(host, separator.toStdU16String(), limit,
            event.contains("pieces") ? event.section(' ', -1).toLongLong() : 1);
        engine.DecimalPlaces = places;
        host.onYield = [&](int yield) {
            engine.Stopped |= (yield == 5 && event == "stop")
                || (yield == 10 && limit == DivisionEngine::maximumDigits);
            if (yield == 3 && event.contains("places"))
                engine.DecimalPlaces = event.front().digitValue();
            if (yield == 3 && !nested.isEmpty()) { // Stop, then Start
                host.dividend = nested.section('/', 0, 0).toStdU16String();
                host.divisor = nested.section('/', 1).toStdU16String();
                engine.Stopped = true;
                engine.StartDivision();
            }
        };

        engine.StartDivision();

        QCOMPARE(QString::fromStdU16String(host.result), result);
        QCOMPARE(QString::fromStdU16String(host.dividend + u'/' + host.divisor),
            !nested.isEmpty()            ? nested
                : operands.contains('=') ? operands.section('=', 1).replace('.', separator)
                                         : typed);
        QCOMPARE(QString::fromStdU16String(host.warnings),
            (limit == 3 && !event.contains("digit")
                    ? "Výsledek je příliš dlouhý, výpočet byl zastaven."
                    : "")
                + QString(result == zero  ? "Nulou nelze dělit!"
                        : result == range ? "Tak velká čísla nelze dělit!"
                                          : ""));
        QVERIFY(engine.Stopped && host.startEnabled);
    }

    void period_data()
    {
        QTest::addColumn<int>("dividend");
        QTest::addColumn<int>("divisor");
        QList<std::pair<int, int>> rows { { 1, 7 }, { 22, 7 }, { 1, 12 }, { 5, 8 }, { 1, 9973 },
            { 355, 113 }, { -1, 7 }, { 7, -2000003 }, { 1, 16777213 } };
        // Random operands about the largest divisor of the integer path, 2^24 / 10.
        QRandomGenerator random(2026);
        for (int row = 0; row < 6; ++row)
            rows.append({ random.bounded(1 << 30), 1677721 - 3 + random.bounded(6) });
        for (auto [dividend, divisor] : rows)
            QTest::addRow("%d/%d", dividend, divisor) << dividend << divisor;
    }
    // Against the engine's digits, and the exact fraction where the steps are exact (ten times a
    // remainder below 2^25). Above, rounding leaves it: 1/16777213's digits close a cycle in
    // thousands, the fraction's period is 4,194,303.
    void period()
    {
        QFETCH(int, dividend);
        QFETCH(int, divisor);
        const Period found = findPeriod(float(dividend), float(divisor), 10'000'000);
        // The division takes its operands as floats, which round a dividend above 2^24.
        const auto exact = exactPeriod(qint64(std::fabs(float(dividend))), std::abs(divisor));
        QCOMPARE(found.preperiod == exact.first && found.length == exact.second,
            10LL * std::abs(divisor) < 1 << 25);
        QCOMPARE(found.kind, found.length ? Period::Kind::Repeats : Period::Kind::Ends);

        RecordingHost host;
        host.dividend = QString::number(dividend).toStdU16String();
        host.divisor = QString::number(divisor).toStdU16String();
        host.onYield = [](int) {};
        DivisionEngine engine(host, u",", found.preperiod + 2 * found.length + 1, 4096);
        engine.StartDivision();
        const QString digits = QString::fromStdU16String(host.result).section(',', 1);
        QString stepped; // as the float steps give them, a digit at a time
        float partial = std::fabs(float(dividend));
        while (stepped.size() < digits.size()) {
            partial = DivisionSteps::nextDividend(partial, std::fabs(float(divisor)));
            stepped += QString::number(
                DivisionSteps::quotientFloor(partial, std::fabs(float(divisor))));
        }
        QCOMPARE(digits, stepped);
        QCOMPARE(QList({ engine.Dividend, engine.DigitCount }),
            QList({ partial, float(digits.size()) }));
        // A limit one short of the end of the first period.
        QCOMPARE(
            findPeriod(float(dividend), float(divisor), found.preperiod + found.length - 1).kind,
            found.length ? Period::Kind::BeyondLimit : Period::Kind::Ends);
        const qint64 start = found.preperiod, length = found.length;
        QCOMPARE(digits.size(), length ? start + 2 * length + 1 : start);
        QCOMPARE(digits.mid(start, length), digits.mid(start + length, length));
        QVERIFY(start == 0 || !length || digits[start - 1] != digits[start + length - 1]);
    }
};

QTEST_APPLESS_MAIN(EngineTest)
#include "EngineTest.moc"
