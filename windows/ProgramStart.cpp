#include "ProgramStart.h"

#include "AtSpiDoor.h"
#include "BuildConfig.h"
#include "FixedSizeWindows.h"
#include "Form1.h"
#include "QtTranslation.h"
#include "UserFolders.h"

#include <QApplication>
#include <QLocale>
#include <csignal>

std::unique_ptr<Form1> startProgram(QApplication &application)
{
    // A write past the file size limit or into a pipe whose reader has gone then fails with an
    // error instead of ending the program with its result: Qt's own settings, the notice, a save.
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
#endif
    UserFolders::keepQtSettingsAtHome();
    installQtTranslation(application);
    keepFixedSizeWindowsNormal();
    AtSpiDoor::standInFrontOfQtBridge();
    QCoreApplication::setApplicationName(QStringLiteral(ZLOMKAR_PRODUCT_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZLOMKAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZLOMKAR_APP_ID));

    auto window = std::make_unique<Form1>(QLocale::system().decimalPoint());
    window->show();
    return window;
}
