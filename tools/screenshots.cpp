// Renders the program's windows to PNG files for the README: `zlomkar_screenshots <folder>`.
// Run it with QT_QPA_PLATFORM=offscreen; QT_SCALE_FACTOR=2 renders them at double scale.
#include "Form1.h"
#include "Form2.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const QString suffix = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
        ? QStringLiteral("@") + qEnvironmentVariable("QT_SCALE_FACTOR") + QStringLiteral("x")
        : QString();

    Form1 window(QStringLiteral(","));
    window.show();
    window.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("22"));
    window.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("7"));
    // The unlimited run goes on inside Start's click, so Start, Stop and the picture all come from
    // the event loop.
    QTimer::singleShot(
        0, &window, [&] { window.findChild<QPushButton *>(QStringLiteral("Command1"))->click(); });
    QTimer::singleShot(100, &window,
        [&] { window.findChild<QPushButton *>(QStringLiteral("Command2"))->click(); });
    QTimer::singleShot(150, &window, [&] {
        window.grab().save(folder.filePath(QStringLiteral("main-window%1.png").arg(suffix)));
        // Nothing listens on the discard port, so the check fails at once, as it does offline.
        AboutSetup offline = AboutSetup::forThisProgram();
        offline.noticeAddress = QStringLiteral("http://127.0.0.1:9/update.txt");
        Form2 about(offline);
        about.load();
        about.show();
        about.grab().save(folder.filePath(QStringLiteral("about-window%1.png").arg(suffix)));
        window.close();
    });
    return app.exec();
}
