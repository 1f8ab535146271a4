#include "Form1.h"
#include "Form2.h"
#include "LocalHttpServer.h"
#include "ModalAnswer.h"
#include "ResultBox.h"
#include "WindowDriver.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

qsizetype openFileDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
}

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// Keys the window system has queued, handled in the run's next yield in this order; a digit is
// typed as itself.
void queueKeys(QWidget *target, std::initializer_list<Qt::Key> keys)
{
    for (Qt::Key key : keys) {
        const QString text = key >= Qt::Key_0 && key <= Qt::Key_9 ? QString(QChar(key)) : QString();
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    }
}

// AddressSanitizer holds freed memory back to catch its use, so there the resident set tells
// nothing; LeakSanitizer watches for leaks in that build instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool residentSetTells = false;
#else
constexpr bool residentSetTells = true;
#endif

// What the process holds after a warm-up, and after many more rounds of the same.
struct Footprint
{
    qsizetype descriptors = openFileDescriptors();
    qint64 kilobytes = residentKilobytes();
};

} // namespace

// Many runs, stops and About windows in one process leave nothing behind.
class StressTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void thousandStartsAndStops();
    void thousandStartsInsideAYield();
    void hundredAboutWindows();

private:
    QLineEdit *dividend() const { return m_form->findChild<QLineEdit *>(QStringLiteral("Text1")); }
    QString result() const
    {
        return m_form->findChild<ResultBox *>(QStringLiteral("Text3"))->text();
    }

    std::unique_ptr<Form1> m_form;
};

void StressTest::init()
{
    m_form = std::make_unique<Form1>(QStringLiteral(","));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    WindowDriver::typeInto(dividend(), QStringLiteral("1"));
    WindowDriver::typeInto(
        m_form->findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("7"));
}

void StressTest::cleanup()
{
    m_form.reset();
}

void StressTest::thousandStartsAndStops()
{
    auto cycle = [this] {
        queueKeys(dividend(), { Qt::Key_Escape });
        QTest::keyClick(dividend(), Qt::Key_Return);
    };
    for (int i = 0; i < 100; ++i)
        cycle();
    const Footprint warm;
    for (int i = 0; i < 1000; ++i)
        cycle();
    QCOMPARE(openFileDescriptors(), warm.descriptors);
    QVERIFY2(!residentSetTells || residentKilobytes() - warm.kilobytes < 2048,
        qPrintable(QStringLiteral("grew by %1 KiB").arg(residentKilobytes() - warm.kilobytes)));
    QCOMPARE(result(), QStringLiteral("0,1"));
    QVERIFY(m_form->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
}

// Stop and Start in one batch of events start a run inside the yield of the one they stop.
void StressTest::thousandStartsInsideAYield()
{
    ModalAnswer oneDigit([](QWidget *prompt) {
        auto *field = prompt->findChild<QLineEdit *>();
        QTest::keyClicks(field, QStringLiteral("1"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    WindowDriver::chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
    QVERIFY(oneDigit.answered());

    for (int i = 0; i < 1000; ++i) {
        // The run of 1 / 7 is stopped after its first digit, the dividend becomes 3, and a run of
        // 3 / 7 starts inside that yield and ends after its one digit; the first run then ends
        // without another digit.
        queueKeys(dividend(), { Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_3, Qt::Key_Return });
        QTest::keyClick(dividend(), Qt::Key_Return);
        QCOMPARE(result(), QStringLiteral("0,4"));
        WindowDriver::typeInto(dividend(), QStringLiteral("1"));
    }
    QVERIFY(m_form->findChild<QPushButton *>(QStringLiteral("Command1"))->isEnabled());
}

void StressTest::hundredAboutWindows()
{
    LocalHttpServer server;
    HttpAnswer notice;
    notice.body = "[Update]\r\n90220=A;B;1\r\n";
    server.setAnswer(QStringLiteral("/update.txt"), notice);
    const QTemporaryDir programDirectory;
    const AboutSetup setup { server.url(QStringLiteral("/update.txt")), programDirectory.path(), {},
        [](const QUrl &) {} };
    auto open = [&] {
        Form2 about(setup);
        about.show();
        QCoreApplication::processEvents();
    };
    for (int i = 0; i < 10; ++i)
        open();
    const Footprint warm;
    for (int i = 0; i < 100; ++i)
        open();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(server.requestCount(), 110);
    QCOMPARE(openFileDescriptors(), warm.descriptors);
    QVERIFY2(!residentSetTells || residentKilobytes() - warm.kilobytes < 4096,
        qPrintable(QStringLiteral("grew by %1 KiB").arg(residentKilobytes() - warm.kilobytes)));
    QVERIFY(QDir(programDirectory.path()).isEmpty());
}

int runStressTests(int argc, char *argv[])
{
    StressTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StressTest.moc"
