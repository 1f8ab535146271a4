#pragma once

#include "PeriodFinder.h"

#include <QObject>
#include <thread>

class QAction;
class ResultBox;

// The repeating part of a run's result, shown in the result box: looked for beside the run in a
// thread of its own, said in the box's tooltip and accessible description as soon as it is known,
// barred once the digits reach the end of its first occurrence, and offered from the box's menu
// in the bracketed form "3,(142857)". The digits themselves are not touched.
class PeriodMarking : public QObject
{
    Q_OBJECT

public:
    explicit PeriodMarking(ResultBox *box);

    // Nothing marked, and the search for the last run's period abandoned.
    void clear();
    // Looks for the period of a run of these operands.
    void find(float dividend, float divisor, qint64 digitLimit);
    // The run's decimal digits follow the first `position` characters of the box.
    void setDigitsStart(qsizetype position) { m_digitsStart = position; }
    // Bars the period once the box holds all of it; costs next to nothing otherwise.
    void textGrew();

private:
    void show(const Period &period, qint64 digitLimit);
    void describe(const QString &statement);
    void copyBracketed() const;
    qsizetype periodStart() const { return m_digitsStart + m_period.preperiod; }

    ResultBox *const m_box;
    QAction *const m_copyBracketed;
    qsizetype m_digitsStart = 0;
    Period m_period;
    bool m_barred = false;
    quint64 m_run = 0;
    // Last, so that it is joined before the rest goes.
    std::jthread m_search;
};
