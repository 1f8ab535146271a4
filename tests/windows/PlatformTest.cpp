#include "FocusRequester.h"
#include "Rows.h"
#include "TaskBarEntry.h"
#include "UserFolders.h"

#include <QDialog>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class PlatformTest : public QObject
{
    Q_OBJECT

    const QTemporaryDir m_folder;
    const QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();

private slots:
    void cleanup()
    {
        for (const char *name : { "HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME" })
            qputenv(name, m_environment.value(name).toLocal8Bit());
        UserFolders::keepQtSettingsAtHome();
    }

    // When a modal window closes, the window asks for the focus, whichever had it before.
    void focusAfterAModalWindow()
    {
        QWidget window, other;
        window.show();
        other.show();
        new FocusRequester(&window);
        other.activateWindow();
        QTRY_VERIFY(other.isActiveWindow());
        QDialog modal;
        modal.open();
        QTRY_VERIFY(modal.isActiveWindow());
        modal.hide();
        QTRY_VERIFY(window.isActiveWindow());
    }

    // Only on X11, which the offscreen platform is not.
    void noFocusRequestsElsewhere()
    {
        QWidget window;
        keepOutOfTaskBar(&window);
        QVERIFY(window.findChildren<FocusRequester *>().isEmpty());
    }

    // Where the notice and Qt's file dialog state go, HOME and both XDG folders as given.
    void userFolders_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("noticeFolder");
        QTest::addColumn<QString>("qtSettings");
        QTest::addColumn<QString>("xdgConfigLeft");
        const QString home = m_folder.path();
        const QString cache = home + "/.cache/zlomkar";
        const QString config = home + "/.config/QtProject.conf";
        const QString nowhere = "/dev/null/QtProject.conf";
        row("relative XDG folders", home, "x", cache, config, "");
        row("absolute XDG folders", home, "/x", "/x/zlomkar", "/x/QtProject.conf", "/x");
        row("the root as home", "/", "", "", nowhere, "");
        row("no home", "", "", "", nowhere, "");
        row("a home of another user's", home + "/nobody", "", "", nowhere, "");
    }
    void userFolders()
    {
        QFETCH(QString, home);
        QFETCH(QString, xdg);
        if (home.endsWith("nobody")
            && (!QDir().mkpath(home) || chown(qPrintable(home), getuid() + 1, getgid()) != 0))
            QSKIP("giving a folder away needs root");
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CACHE_HOME", xdg.toUtf8());
        qputenv("XDG_CONFIG_HOME", xdg.toUtf8());
        UserFolders::keepQtSettingsAtHome();
        QTEST(UserFolders::programCache(), "noticeFolder");
        QTEST(QSettings(QSettings::UserScope, "QtProject").fileName(), "qtSettings");
        QTEST(qEnvironmentVariable("XDG_CONFIG_HOME"), "xdgConfigLeft");
    }
};

int runPlatformTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<PlatformTest>().get(), argc, argv);
}

#include "PlatformTest.moc"
