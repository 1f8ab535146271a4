#include "FocusRequester.h"
#include "Rows.h"
#include "TaskBarEntry.h"
#include "UserFolders.h"

#include <QDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class PlatformTest : public QObject
{
    Q_OBJECT

    const QTemporaryDir m_folder;

private slots:
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
        modal.setModal(true);
        modal.show();
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

    void home_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("usable");
        row("a folder of the user's", m_folder.path(), true);
        row("the root", "/", false);
        row("the root written twice", "//", false);
        row("a relative path", "home", false);
        row("a missing folder", m_folder.filePath("missing"), false);
        row("a file", QCoreApplication::applicationFilePath(), false);
        row("a folder of another user's", m_folder.filePath("nobody"), false);
    }
    void home()
    {
        QFETCH(QString, path);
        if (path.endsWith("nobody")
            && (!QDir().mkpath(path) || chown(qPrintable(path), getuid() + 1, getgid()) != 0))
            QSKIP("giving a folder away needs root");
        QTEST(UserFolders::isUsableHome(path), "usable");
    }

    void xdgFolder_data()
    {
        QTest::addColumn<QString>("xdgValue");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("folder");
        row("absolute XDG folder", "/x/cache", "/h", "/x/cache");
        row("relative XDG folder", "cache", "/h", "/h/.cache");
        row("no XDG folder", "", "/h", "/h/.cache");
        row("no home", "", "", "");
        row("relative XDG folder, no home", "cache", "", "");
    }
    void xdgFolder()
    {
        QFETCH(QString, xdgValue);
        QFETCH(QString, home);
        QTEST(UserFolders::xdgFolder(xdgValue, home, ".cache"), "folder");
    }

    // Where Qt's file dialog would keep its state.
    void qtSettings_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("xdgConfig");
        QTest::addColumn<QString>("file");
        row("home", m_folder.path(), "", m_folder.filePath(".config/QtProject.conf"));
        row("relative XDG folder", m_folder.path(), "config",
            m_folder.filePath(".config/QtProject.conf"));
        row("the root as home", "/", "", "/dev/null/QtProject.conf");
    }
    void qtSettings()
    {
        QFETCH(QString, home);
        QFETCH(QString, xdgConfig);
        const QByteArray homeBefore = qgetenv("HOME"), configBefore = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", xdgConfig.toUtf8());
        UserFolders::keepQtSettingsAtHome();
        const QString file = QSettings(QSettings::UserScope, "QtProject").fileName();
        const bool xdgConfigKept = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("HOME", homeBefore);
        qputenv("XDG_CONFIG_HOME", configBefore);
        UserFolders::keepQtSettingsAtHome();
        QTEST(file, "file");
        QVERIFY(!xdgConfigKept || xdgConfig.isEmpty());
    }
};

int runPlatformTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<PlatformTest>().get(), argc, argv);
}

#include "PlatformTest.moc"
