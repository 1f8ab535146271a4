#include "ProgramEnd.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

int endProgram(int status)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
