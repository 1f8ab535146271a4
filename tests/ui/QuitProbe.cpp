// Runs the real main window, starts an unlimited division, then ends the program the way argv[1]
// names ("button", "menu", "shortcut" or "close") while the division runs. Prints what was left
// when the event loop returned, for tst_ui to check.
#include "Form1.h"
#include "ResultBox.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString how = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    Form1 form(QStringLiteral(","));
    form.show();
    auto *text1 = form.findChild<QLineEdit *>(QStringLiteral("Text1"));

    QTimer::singleShot(0, &form, [&] {
        WindowDriver::typeInto(text1, QStringLiteral("1"));
        WindowDriver::typeInto(
            form.findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("7"));
        QTest::keyClick(text1, Qt::Key_Return);
    });
    QTimer::singleShot(200, &form, [&] {
        if (how == QLatin1String("button"))
            QTest::mouseClick(
                form.findChild<QPushButton *>(QStringLiteral("Command4")), Qt::LeftButton);
        else if (how == QLatin1String("menu"))
            WindowDriver::chooseMenuItem(form, "MenuSoubor", "MenuQuit");
        else if (how == QLatin1String("shortcut"))
            QTest::keyClick(text1, Qt::Key_Q, Qt::ControlModifier);
        else
            form.close();
    });

    const int status = app.exec();
    int visibleWindows = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        visibleWindows += window->isVisible();
    std::printf("status %d visible %d digits %lld\n", status, visibleWindows,
        static_cast<long long>(
            form.findChild<ResultBox *>(QStringLiteral("Text3"))->text().size()));
    return 0;
}
