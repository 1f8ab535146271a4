#include "Limits.h"

#include "BufferHost.h"
#include "WindowRun.h"

#include <QCryptographicHash>
#include <cstdio>

namespace {

// SHA-256 of the decimal digits, a megabyte at a time.
QByteArray digest(const ResultText &text)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const qsizetype start = text.findForward(0, [](QChar c) { return c == u','; }) + 1;
    for (qsizetype from = start; from < text.size(); from += 1 << 20)
        hash.addData(text.utf8(from, std::min<qsizetype>(1 << 20, text.size() - from)));
    return hash.result().toHex().left(16);
}

// The engine alone with the window's pieces, keeping the digits; its seconds and their digest.
std::pair<double, QByteArray> engineRun(const char *divisor, qint64 digitLimit)
{
    BufferHost host;
    host.divisor = QString::fromLatin1(divisor).toStdU16String();
    host.digits.reserve(std::size_t(digitLimit));
    DivisionEngine engine(host, u",", digitLimit, Form1::digitsPerYield);
    const auto start = Clock::now();
    engine.StartDivision();
    const double seconds = millisecondsSince(start) / 1000;
    return { seconds,
        QCryptographicHash::hash(
            QByteArray::fromRawData(host.digits.data(), qsizetype(host.digits.size())),
            QCryptographicHash::Sha256)
            .toHex()
            .left(16) };
}

} // namespace

int limits(qint64 digitLimit)
{
    WindowRun(QStringLiteral("1"), QStringLiteral("7"), digitLimit).runUntil([](double) {
        return false;
    });
    for (const char *divisor : { "7", "9973", "16777213" }) {
        WindowRun run(QStringLiteral("1"), QString::fromLatin1(divisor), digitLimit);
        run.runUntil([](double) { return false; });
        std::printf("window 1/%s %lld digits %.3f s %.2f bytes a digit sha256 %s\n", divisor,
            static_cast<long long>(run.digits()), run.limitMs / 1000,
            double(run.residentAtLimit - run.residentAtStart) / double(run.digits()),
            digest(run.box()->content()).constData());
        const auto [seconds, engineDigest] = engineRun(divisor, digitLimit);
        std::printf("engine 1/%s %lld digits %.3f s sha256 %s\n", divisor,
            static_cast<long long>(digitLimit), seconds, engineDigest.constData());
    }
    return 0;
}
