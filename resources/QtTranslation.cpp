#include "QtTranslation.h"

#include <QCoreApplication>
#include <QTranslator>

void installQtTranslation(QCoreApplication &application)
{
    auto *translator = new QTranslator(&application);
    if (translator->load(QStringLiteral(":/translations/qtbase_cs.qm")))
        QCoreApplication::installTranslator(translator);
}
