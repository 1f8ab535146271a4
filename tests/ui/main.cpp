#include <QApplication>
#include <cstring>
#include <vector>

int runAccessibilityTests(int argc, char *argv[]);
int runForm1Tests(int argc, char *argv[]);
int runForm2Tests(int argc, char *argv[]);
int runResultBoxTests(int argc, char *argv[]);
int runSavingTests(int argc, char *argv[]);
int runStressTests(int argc, char *argv[]);
int runUpdateFaultsTests(int argc, char *argv[]);

// Runs every suite; `tst_ui Suite [QtTest options]` runs one of them.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::pair<const char *, int (*)(int, char *[])> suites[] = {
        { "AccessibilityTest", runAccessibilityTests },
        { "Form1Test", runForm1Tests },
        { "Form2Test", runForm2Tests },
        { "ResultBoxTest", runResultBoxTests },
        { "SavingTest", runSavingTests },
        { "StressTest", runStressTests },
        { "UpdateFaultsTest", runUpdateFaultsTests },
    };
    int failures = 0;
    for (const auto &[name, run] : suites) {
        if (argc > 1 && std::strcmp(argv[1], name) == 0) {
            std::vector<char *> arguments(argv, argv + argc);
            arguments.erase(arguments.begin() + 1);
            return run(argc - 1, arguments.data());
        }
    }
    for (const auto &[name, run] : suites)
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
