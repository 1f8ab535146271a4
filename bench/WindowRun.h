#pragma once

#include "Form1.h"
#include "ProcessMemory.h"
#include "ResultBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <functional>

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Calls `shown` when a modal window first shows.
class WarningWatch : public QObject
{
public:
    explicit WarningWatch(std::function<void()> shown)
        : m_shown(std::move(shown))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isModal() && m_shown) {
            m_shown();
            m_shown = nullptr;
        }
        return false;
    }

private:
    std::function<void()> m_shown;
};

// The main window dividing `dividend` by `divisor` without a limit, driven by timers that run
// inside its yields.
class WindowRun
{
public:
    explicit WindowRun(const QString &dividend = QStringLiteral("1"),
        const QString &divisor = QStringLiteral("7"),
        qint64 digitLimit = DivisionEngine::maximumDigits)
        : m_form(QStringLiteral(","), AboutSetup::forThisProgram(), digitLimit)
    {
        m_form.show();
        // Without a window manager the window may never get the focus, so keys go to the box.
        m_operand = m_form.findChild<QLineEdit *>(QStringLiteral("Text1"));
        m_operand->setText(dividend);
        m_form.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(divisor);
        m_result = m_form.findChild<ResultBox *>(QStringLiteral("Text3"));
    }

    qsizetype digits() const { return m_result->length() - 2; }
    ResultBox *box() const { return m_result; }
    Form1 &form() { return m_form; }

    // How often `during` is called, in milliseconds.
    int pollMs = 10;
    // When the run reached the limit of digits, if it did, and the resident set then.
    double limitMs = -1;
    qint64 residentAtLimit = 0;
    qint64 residentAtStart = 0;

    // How a run is ended: a click on Stop, or the window's close box.
    enum class Ending { StopClick, CloseBox };

    // Starts the run and calls `during` every `pollMs` inside it until `during` asks to stop by
    // returning true; then Stop is clicked or the window closed, posted so that it waits in the
    // queue as input from the window system does, and this returns the milliseconds from that
    // click to the end of the run.
    double runUntil(
        const std::function<bool(double elapsedMs)> &during, Ending ending = Ending::StopClick)
    {
        const auto start = Clock::now();
        Clock::time_point stopPressed;
        // The warning that the run reached the limit of digits, noted when it shows.
        WarningWatch warning([&] {
            limitMs = millisecondsSince(start);
            residentAtLimit = residentBytes();
        });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget *modal = QApplication::activeModalWidget())
                return void(modal->close());
            if (!during(millisecondsSince(start)))
                return;
            poll.stop();
            stopPressed = Clock::now();
            if (ending == Ending::CloseBox)
                return QCoreApplication::postEvent(m_form.windowHandle(), new QCloseEvent);
            auto *stop = m_form.findChild<QPushButton *>(QStringLiteral("Command2"));
            const QPointF centre = stop->rect().center();
            for (auto type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease })
                QCoreApplication::postEvent(stop,
                    new QMouseEvent(type, centre, stop->mapToGlobal(centre), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier));
        });
        poll.start(pollMs);
        residentAtStart = residentBytes();
        m_form.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        return millisecondsSince(stopPressed);
    }

private:
    Form1 m_form;
    QLineEdit *m_operand = nullptr;
    ResultBox *m_result = nullptr;
};
