#include "BuildConfig.h"
#include "Form1.h"
#include "QtTranslation.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installQtTranslation(app);
    QCoreApplication::setApplicationName(QStringLiteral(ZLOMKAR_PRODUCT_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZLOMKAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZLOMKAR_APP_ID));

    Form1 window(QLocale::system().decimalPoint());
    window.show();
    return app.exec();
}
