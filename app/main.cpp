#include "Form1.h"
#include "ProgramEnd.h"
#include "ProgramStart.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::unique_ptr<Form1> window = startProgram(app);
    return endProgram(app.exec());
}
