#include "Form1.h"

#include "CatalogueText.h"
#include "DecimalPlacesText.h"
#include "Form2.h"
#include "InputBox.h"
#include "MessageBox.h"
#include "PeriodMarking.h"
#include "ResultBox.h"
#include "ResultFileText.h"
#include "ResultFileWriter.h"
#include "TaskBarEntry.h"
#include "WideText.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

// Ends the program at once, also from inside a run's yield: every window disappears, and the main
// event loop ends as soon as the run, whose stop flag the caller has set, hands back to it.
void endProgramAtOnce()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

} // namespace

Form1::Form1(
    const QString &decimalSeparator, AboutSetup aboutSetup, qint64 digitLimit, QWidget *parent)
    : QMainWindow(parent)
    , m_decimalSeparator(decimalSeparator)
    , m_engine(*this, decimalSeparator.toStdU16String(), digitLimit, digitsPerYield)
    , m_aboutSetup(std::move(aboutSetup))
{
    setupDesign(this);
    m_period = new PeriodMarking(Text3);
    connect(Command1, &QPushButton::clicked, this, &Form1::start);
    connect(Command2, &QPushButton::clicked, this, &Form1::stop);
    connect(Command3, &QPushButton::clicked, this, &Form1::showHelp);
    connect(Command4, &QPushButton::clicked, this, &Form1::quit);
    connect(MenuSave, &QAction::triggered, this, &Form1::saveResult);
    connect(MenuQuit, &QAction::triggered, this, &Form1::quit);
    connect(MenuDesMist, &QAction::triggered, this, &Form1::askDecimalPlaces);
    connect(MenuPouziti, &QAction::triggered, this, &Form1::showHelp);
    connect(MenuAbout, &QAction::triggered, this, &Form1::showAbout);
    load();
    Text1->setFocus();
    keepOutOfTaskBar(this);
}

void Form1::load()
{
    MenuSoubor->setTitle(message(105));
    MenuSave->setText(message(106));
    MenuQuit->setText(message(107));
    MenuSetup->setTitle(message(108));
    MenuDesMist->setText(message(109));
    MenuHelp->setTitle(message(110));
    MenuPouziti->setText(message(111));
    MenuAbout->setText(message(112));

    showDecimalPlaces();
}

// The label sizes itself to its text, its left edge staying put.
void Form1::showDecimalPlaces()
{
    Label3->setText(DecimalPlacesText::label(m_engine.DecimalPlaces, m_decimalSeparator));
    Label3->adjustSize();
}

std::u16string Form1::dividendText() const
{
    return Text1->text().toStdU16String();
}

void Form1::setDividendText(std::u16string_view text)
{
    Text1->setText(fromWide(text));
}

std::u16string Form1::divisorText() const
{
    return Text2->text().toStdU16String();
}

void Form1::setDivisorText(std::u16string_view text)
{
    Text2->setText(fromWide(text));
}

void Form1::divisionStarted(float dividend, float divisor)
{
    m_period->find(dividend, divisor, m_engine.digitLimit());
}

void Form1::setResultText(std::u16string_view text)
{
    Text3->setText(fromWide(text));
    m_period->setDigitsStart(Text3->length());
}

void Form1::appendToResultText(std::string_view digits)
{
    Text3->appendDigits(digits);
    m_period->textGrew();
}

void Form1::repeatResultDigits(std::int64_t period, std::int64_t count)
{
    Text3->appendRepeated(period, count);
    m_period->textGrew();
}

void Form1::setStartEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
}

void Form1::showWarning(std::u16string_view text)
{
    showMessageBox(this, fromWide(text), MessageIcon::Warning);
}

// A digit takes a fraction of a microsecond and a pass of the event loop far more, so the loop runs
// only when something may have come in meanwhile: a quarter of a millisecond after its last pass.
// Keys, clicks, the prompt's answer and repaints still act on the digit they meet.
void Form1::yield()
{
    if (m_sinceEvents.isValid() && m_sinceEvents.nsecsElapsed() < 250'000)
        return;
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

// Start is the default button and Stop the cancel button: Enter clicks Start unless the focus is
// on another button, which Enter then clicks; Esc clicks Stop. A disabled button is never clicked.
void Form1::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto *focusedButton = qobject_cast<QPushButton *>(focusWidget());
        QPushButton *button = focusedButton ? focusedButton : Command1;
        if (button->isEnabled())
            button->click();
    } else if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Command2->click();
    } else {
        QMainWindow::keyPressEvent(event);
    }
}

// Closing the window ends a run like Stop does; the program then ends with its last window.
void Form1::closeEvent(QCloseEvent *event)
{
    stop();
    event->accept();
}

void Form1::start()
{
    // A click still queued when the window closed must not start a run nobody can see or stop.
    if (!isVisible())
        return;
    m_period->clear();
    m_engine.StartDivision();
}

void Form1::stop()
{
    m_engine.Stopped = true;
    Command1->setEnabled(true);
}

void Form1::quit()
{
    stop();
    endProgramAtOnce();
}

void Form1::showHelp()
{
    showMessageBox(this, message(118), MessageIcon::None);
}

void Form1::showAbout()
{
    Form2 about(m_aboutSetup);
    about.exec();
}

void Form1::askDecimalPlaces()
{
    const float PreviousDecimalPlaces = m_engine.DecimalPlaces;
    const QString DecimalPlacesAnswer
        = inputBox(this, DecimalPlacesText::prompt(m_engine.DecimalPlaces, m_decimalSeparator));
    m_engine.DecimalPlaces
        = DecimalPlacesText::afterAnswer(PreviousDecimalPlaces, DecimalPlacesAnswer);
    showDecimalPlaces();
}

void Form1::saveResult()
{
    // The dialog is modal, so the result cannot change before it is written.
    const ResultFileText SaveText = composeSaveText(
        Text1->text(), Text2->text(),
        [&text = Text3->content()](
            qsizetype from, qsizetype length) { return text.mid(from, length); },
        Text3->length());
    CommonDialog1.Filter = QStringLiteral("TeXT files|*.txt|All|*.*");
    if (!CommonDialog1.ShowSave(this) || CommonDialog1.FileName.isEmpty())
        return;
    if (!writeSaveText(CommonDialog1.FileName, SaveText))
        showMessageBox(this, message(123), MessageIcon::Warning);
}
