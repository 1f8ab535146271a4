#include "ProgramStart.h"

#include "BuildConfig.h"
#include "Form1.h"
#include "QtTranslation.h"

#include <QApplication>
#include <QLocale>

std::unique_ptr<Form1> startProgram(QApplication &application)
{
    installQtTranslation(application);
    QCoreApplication::setApplicationName(QStringLiteral(ZLOMKAR_PRODUCT_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZLOMKAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZLOMKAR_APP_ID));

    auto window = std::make_unique<Form1>(QLocale::system().decimalPoint());
    window->show();
    return window;
}
