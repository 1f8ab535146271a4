#pragma once

#include "PeriodFinder.h"

#include <QString>

// What the result box says of a run's period, in its tooltip and to a screen reader: "Perioda:
// 6 číslic od 1. desetinného místa", "Předperioda: 2 číslice, perioda: 1 číslice od 3. desetinného
// místa", "Výsledek je konečný", or that no period ends within the run's `digitLimit` digits.
// Numbers are grouped as Czech writes them ("1 677 702"), and a count of 1 to 4 takes "číslice".
QString periodStatement(const Period &period, qint64 digitLimit);
