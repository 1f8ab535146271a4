#pragma once

#include <QtGlobal>

// Runs to the limit of digits in the real main window, for 1 / 7 on the integer path, 1 / 9973
// with its period of 9,972 digits, and 1 / 16777213 on the float steps: the seconds from Start to
// the warning, the memory a digit takes there, and a digest of the digits shown; and the engine
// alone to as many digits. A run of 1 / 7
// goes first, unreported: the first run of a process also pays for what Qt sets up once.
int limits(qint64 digitLimit);
