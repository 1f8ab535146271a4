// Input: a text in UTF-8. What the C library's strtod, strtof and printf make of a number is the
// reference.
#include "FuzzCheck.h"
#include "NumberText.h"

#include <QRegularExpression>
#include <cmath>

using namespace NumberText;

namespace {

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// What strtod or strtof reads of the match of `pattern`, with "." for `separator`, or NaN.
double reference(const QString &text, const QString &pattern, bool isFloat, QChar separator = '.')
{
    const auto match = QRegularExpression(pattern).match(text);
    const QByteArray number
        = match.captured().replace(separator, '.').replace(QChar(u'∞'), "inf").toLatin1();
    return !match.hasMatch() ? qQNaN()
        : isFloat            ? std::strtof(number, nullptr)
                             : std::strtod(number, nullptr);
}

QString printfG(double value, int digits)
{
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.*G", digits, value);
    return printed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double parsed = leadingNumber(text.toStdU16String());
    const double leading = reference(QString(text).remove(QRegularExpression("[ \t\n]")),
        R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)", false);
    check(same(parsed, std::isnan(leading) ? 0 : leading),
        "the leading number, blanks skipped, is what strtod reads");

    // A text in the locale's notation reads as strtod and strtof read it, any other as NaN; a
    // number is written as %G writes it with 15 significant digits, or 7 for a float.
    for (const char16_t *sep : { u",", u"." }) {
        const QString notation = R"(^(-?\d+()" + QRegularExpression::escape(QChar(*sep))
            + R"(\d+)?([eE][+-]?\d+)?|-?∞)\z)";
        auto checkRead = [&](const std::u16string &number) {
            const QString local = QString::fromStdU16String(number);
            check(same(toDouble(number, sep), reference(local, notation, false, *sep))
                    && same(toFloat(number, sep), reference(local, notation, true, *sep)),
                "read as strtod and strtof read it");
        };
        checkRead(text.toStdU16String());
        for (const auto &[value, isFloat] : { std::pair { parsed, false },
                 { std::floor(parsed), false }, { double(float(parsed)), true } }) {
            const std::u16string written = isFloat ? fromFloat(value, sep) : fromDouble(value, sep);
            check(!value || !std::isfinite(value)
                    || written
                        == printfG(value, isFloat ? 7 : 15).replace('.', *sep).toStdU16String(),
                "written as %G writes it");
            checkRead(written);
        }
    }
    return 0;
}
