#include "DownloadFileTest.h"
#include "NoticeTest.h"
#include "ProfileStringTest.h"
#include "UpdateCheckTest.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTest>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    ProfileStringTest profileString;
    NoticeTest notice;
    DownloadFileTest download;
    UpdateCheckTest check;
    int failures = 0;
    for (QObject *test : { static_cast<QObject *>(&profileString), static_cast<QObject *>(&notice),
             static_cast<QObject *>(&download), static_cast<QObject *>(&check) })
        failures += QTest::qExec(test, argc, argv);
    return failures;
}
