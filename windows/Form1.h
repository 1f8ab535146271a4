#pragma once

#include "AboutSetup.h"
#include "DivisionEngine.h"
#include "DivisionHost.h"
#include "Form1Design.h"

#include <QElapsedTimer>
#include <QMainWindow>

class PeriodMarking;

// The main window: the two operands, the result box, Start, Stop, Help and Quit, and the menus.
// It hosts the long division, which runs inside Start's click and yields to the event loop after
// every digit, so every other command can run between two digits.
class Form1 : public QMainWindow, public DivisionHost, private Form1Design
{
    Q_OBJECT

public:
    // The digits a run hands over between two yields: the yields keep their time gate, and a piece
    // costs a few hundred microseconds at most. The integer path writes whole blocks of twelve.
    static constexpr qint64 digitsPerYield = 65'532;

    // `aboutSetup` tells the About window where to look for its notice and how to open links; a run
    // stops by itself after `digitLimit` decimal digits.
    explicit Form1(const QString &decimalSeparator,
        AboutSetup aboutSetup = AboutSetup::forThisProgram(),
        qint64 digitLimit = DivisionEngine::maximumDigits, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    std::u16string dividendText() const override;
    void setDividendText(std::u16string_view text) override;
    std::u16string divisorText() const override;
    void setDivisorText(std::u16string_view text) override;
    void divisionStarted(float dividend, float divisor) override;
    void setResultText(std::u16string_view text) override;
    void appendToResultText(std::string_view digits) override;
    void repeatResultDigits(std::int64_t period, std::int64_t count) override;
    void setStartEnabled(bool enabled) override;
    void showWarning(std::u16string_view message) override;
    void yield() override;

    void load();
    void showDecimalPlaces();

    void start();
    void stop();
    void quit();
    void showHelp();
    void showAbout();
    void askDecimalPlaces();
    void saveResult();

    const QString m_decimalSeparator;
    DivisionEngine m_engine;
    AboutSetup m_aboutSetup;
    QElapsedTimer m_sinceEvents;

    PeriodMarking *m_period = nullptr;
};
