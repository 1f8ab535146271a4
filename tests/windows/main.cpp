#include <QApplication>

int runAboutWindowTest(int argc, char *argv[]);
int runLookTest(int argc, char *argv[]);
int runMainWindowTest(int argc, char *argv[]);
int runPlatformTest(int argc, char *argv[]);
int quitProbe(const QString &how);
int focusProbe();

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--quit-probe") == 0)
        return quitProbe(argv[2]);
    if (argc == 2 && qstrcmp(argv[1], "--focus-probe") == 0)
        return focusProbe();
    return runMainWindowTest(argc, argv) | runAboutWindowTest(argc, argv) | runLookTest(argc, argv)
        | runPlatformTest(argc, argv);
}
