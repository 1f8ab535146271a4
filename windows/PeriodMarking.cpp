#include "PeriodMarking.h"

#include "CatalogueText.h"
#include "PeriodStatement.h"
#include "ResultBox.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

PeriodMarking::PeriodMarking(ResultBox *box)
    : QObject(box)
    , m_box(box)
    , m_copyBracketed(new QAction(message(134), box))
{
    m_copyBracketed->setObjectName(QStringLiteral("copyWithPeriod"));
    m_copyBracketed->setEnabled(false);
    connect(m_copyBracketed, &QAction::triggered, this, &PeriodMarking::copyBracketed);
    box->addAction(m_copyBracketed);
}

void PeriodMarking::clear()
{
    ++m_run;
    m_search.request_stop();
    m_period = {};
    m_barred = false;
    m_copyBracketed->setEnabled(false);
    m_box->setOverline(0, 0);
    describe({});
}

void PeriodMarking::find(float dividend, float divisor, qint64 digitLimit)
{
    clear();
    m_search = std::jthread([=, this, run = m_run](std::stop_token stop) {
        const Period period = findPeriod(dividend, divisor, digitLimit, stop);
        QMetaObject::invokeMethod(
            this,
            [=, this] {
                if (run == m_run)
                    show(period, digitLimit);
            },
            Qt::QueuedConnection);
    });
}

void PeriodMarking::show(const Period &period, qint64 digitLimit)
{
    m_period = period;
    describe(periodStatement(period, digitLimit));
    textGrew();
}

// Qt tells assistive technology of every description set, changed or not.
void PeriodMarking::describe(const QString &statement)
{
    if (m_box->toolTip() == statement)
        return;
    m_box->setToolTip(statement);
    m_box->setAccessibleDescription(statement);
}

void PeriodMarking::textGrew()
{
    if (m_barred || m_period.kind != Period::Kind::Repeats
        || m_box->length() < periodStart() + m_period.length)
        return;
    m_barred = true;
    m_box->setOverline(periodStart(), m_period.length);
    m_copyBracketed->setEnabled(true);
}

void PeriodMarking::copyBracketed() const
{
    const ResultText &text = m_box->content();
    QGuiApplication::clipboard()->setText(
        text.mid(0, periodStart()) + u'(' + text.mid(periodStart(), m_period.length) + u')');
}
