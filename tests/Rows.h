#pragma once

#include <QTest>

// A row of a data table on one line: its name, then a value for each column in order.
template<typename... Values> void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}
