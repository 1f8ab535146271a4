#include "Soak.h"

#include "Form1.h"
#include "Form2.h"
#include "ProcessMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <functional>

namespace {

qsizetype openFileDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
}

// Keys as the window system queues them: the run's next yield handles them in this order.
void queueKeys(QWidget *target, std::initializer_list<Qt::Key> keys)
{
    for (Qt::Key key : keys) {
        const QString text = key >= Qt::Key_0 && key <= Qt::Key_9 ? QString(QChar(key)) : QString();
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    }
}

void measure(const char *what, int warmUp, int rounds, const std::function<void()> &round)
{
    for (int i = 0; i < warmUp; ++i)
        round();
    const qsizetype descriptors = openFileDescriptors();
    const qint64 bytes = residentBytes();
    for (int i = 0; i < rounds; ++i)
        round();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::printf("| %s | %lld -> %lld | %.1f -> %.1f |\n", what, static_cast<long long>(descriptors),
        static_cast<long long>(openFileDescriptors()), double(bytes) / 1048576,
        double(residentBytes()) / 1048576);
}

} // namespace

int soak()
{
    const AboutSetup offline { QStringLiteral("http://127.0.0.1:1/update.txt"), QDir::tempPath(),
        {}, [](const QUrl &) {} };
    Form1 form(QStringLiteral(","), offline);
    form.show();
    auto *dividend = form.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *start = form.findChild<QPushButton *>(QStringLiteral("Command1"));
    dividend->setText(QStringLiteral("1"));
    form.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("7"));

    std::printf("| rounds | file descriptors | resident MiB |\n|---|---|---|\n");
    measure("1000 Start and Stop", 100, 1000, [&] {
        queueKeys(dividend, { Qt::Key_Escape });
        start->click();
    });
    // Esc, the dividend 3, Enter and Esc in one batch: a run of 3 / 7 starts inside the stopped
    // run's yield, and the second Esc stops it in its own first yield.
    measure("1000 Starts inside a yield", 100, 1000, [&] {
        dividend->setText(QStringLiteral("1"));
        queueKeys(dividend,
            { Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_3, Qt::Key_Return, Qt::Key_Escape });
        start->click();
    });
    measure("100 About windows", 10, 100, [&] {
        Form2 about(offline);
        about.load();
        about.show();
        QCoreApplication::processEvents();
    });
    return 0;
}
