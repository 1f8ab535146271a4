#pragma once

#include <QString>

// A catalogue message as the windows and the update check use it.
QString message(int number);
