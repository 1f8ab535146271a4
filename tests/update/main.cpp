#include "DownloadFileTest.h"
#include "ProfileStringTest.h"

#include <QCoreApplication>
#include <QTest>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    ProfileStringTest profileString;
    DownloadFileTest download;
    int failures = 0;
    for (QObject *test :
        { static_cast<QObject *>(&profileString), static_cast<QObject *>(&download) })
        failures += QTest::qExec(test, argc, argv);
    return failures;
}
