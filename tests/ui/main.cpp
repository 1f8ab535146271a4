#include <QApplication>

int runAboutWindowTest(int argc, char *argv[]);
int runMainWindowTest(int argc, char *argv[]);
int runResultBoxTest(int argc, char *argv[]);
int quitProbe(const QString &how);

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--quit-probe") == 0)
        return quitProbe(argv[2]);
    return runMainWindowTest(argc, argv) | runAboutWindowTest(argc, argv)
        | runResultBoxTest(argc, argv);
}
