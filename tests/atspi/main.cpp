#include <QApplication>

int runAtSpiTest(int argc, char *argv[]);
int runAtSpiBusTest(int argc, char *argv[]);

// With --bus, the real program on a real accessibility bus (reader_bus.sh starts one).
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--bus") == 0)
        return runAtSpiBusTest(argc - 1, argv + 1);
    return runAtSpiTest(argc, argv);
}
