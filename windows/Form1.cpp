#include "Form1.h"

#include "CatalogueText.h"
#include "DecimalPlacesText.h"
#include "DesignFont.h"
#include "DesignLabel.h"
#include "Form2.h"
#include "InputBox.h"
#include "MessageBox.h"
#include "PeriodMarking.h"
#include "ProgramIcon.h"
#include "ResultBox.h"
#include "ResultFileText.h"
#include "ResultFileWriter.h"
#include "TaskBarEntry.h"
#include "Twips.h"
#include "WideText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
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
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zlomkar"));
    setWindowIcon(ProgramIcon::icon());
    setWindowFlags(
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    createControls();
    createMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    load();
    Text1->setFocus();
    keepOutOfTaskBar(this);
}

void Form1::createControls()
{
    auto *client = new QWidget(this);
    client->setFixedSize(fromTwips(0, 0, 4920, 6975).size());
    client->setFont(designFont(8));
    setCentralWidget(client);
    const QFont operandFont = designFont(9.75, true);

    Text1 = new QLineEdit(QStringLiteral("5"), client);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(fromTwips(120, 120, 2055, 315));
    Text1->setFont(operandFont);

    Text2 = new QLineEdit(QStringLiteral("8"), client);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(fromTwips(2520, 120, 2055, 315));
    Text2->setFont(operandFont);

    Label1 = designLabel("Label1", QStringLiteral("/"), fromTwips(2280, 150, 120, 240), client);
    Label1->setFont(operandFont);
    Label1->adjustSize();
    Label2 = designLabel("Label2", QStringLiteral("="), fromTwips(4680, 150, 135, 240), client);
    Label2->setFont(operandFont);
    Label2->adjustSize();

    Text3 = new ResultBox(client);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(fromTwips(120, 480, 4695, 5535));
    Text3->setText(QStringLiteral("0,625\r\n"));
    m_period = new PeriodMarking(Text3);

    auto button = [client](const char *name, const QString &caption, int left) {
        auto *command = new QPushButton(caption, client);
        command->setObjectName(QLatin1String(name));
        command->setGeometry(fromTwips(left, 6480, 1095, 375));
        return command;
    };
    Command1 = button("Command1", QStringLiteral("Spustit >>"), 120);
    Command2 = button("Command2", QStringLiteral("Zastavit ||"), 1320);
    Command3 = button("Command3", QStringLiteral("Nápověda ?"), 2520);
    Command4 = button("Command4", QStringLiteral("Konec X"), 3720);
    connect(Command1, &QPushButton::clicked, this, &Form1::start);
    connect(Command2, &QPushButton::clicked, this, &Form1::stop);
    connect(Command3, &QPushButton::clicked, this, &Form1::showHelp);
    connect(Command4, &QPushButton::clicked, this, &Form1::quit);

    Label3 = designLabel("Label3", QStringLiteral("Počítat na 0 des. míst (0 = \"nekonečno\")"),
        fromTwips(120, 6120, 2910, 195), client);

    // Names for assistive technology where a control's own text does not say what it is.
    Text1->setAccessibleName(QStringLiteral("dělenec"));
    Text2->setAccessibleName(QStringLiteral("dělitel"));
    Label1->setAccessibleName(QStringLiteral("děleno"));
    Label2->setAccessibleName(QStringLiteral("rovná se"));
    Text3->setAccessibleName(QStringLiteral("výsledek"));

    QWidget::setTabOrder(Text1, Text2);
    QWidget::setTabOrder(Text2, Text3);
    QWidget::setTabOrder(Text3, Command1);
    QWidget::setTabOrder(Command1, Command2);
    QWidget::setTabOrder(Command2, Command3);
    QWidget::setTabOrder(Command3, Command4);
}

void Form1::createMenus()
{
    auto item = [this](QMenu *menu, const char *name, const QString &caption,
                    const QKeySequence &shortcut, void (Form1::*command)()) {
        QAction *action = menu->addAction(caption, this, command);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        return action;
    };
    auto menu = [this](const char *name, const QString &caption) {
        QMenu *created = menuBar()->addMenu(caption);
        created->setObjectName(QLatin1String(name));
        return created;
    };

    MenuSoubor = menu("MenuSoubor", QStringLiteral("Soubor"));
    MenuSave = item(MenuSoubor, "MenuSave", QStringLiteral("Uložit výsledek"),
        QKeySequence(Qt::CTRL | Qt::Key_S), &Form1::saveResult);
    no1 = MenuSoubor->addSeparator();
    no1->setObjectName(QStringLiteral("no1"));
    MenuQuit = item(MenuSoubor, "MenuQuit", QStringLiteral("Konec"),
        QKeySequence(Qt::CTRL | Qt::Key_Q), &Form1::quit);

    MenuSetup = menu("MenuSetup", QStringLiteral("Nastaveni"));
    MenuDesMist = item(MenuSetup, "MenuDesMist", QStringLiteral("Počet desetinných míst"),
        QKeySequence(), &Form1::askDecimalPlaces);

    MenuHelp = menu("MenuHelp", QStringLiteral("Nápověda"));
    MenuPouziti = item(MenuHelp, "MenuPouziti", QStringLiteral("Jak používat aplikaci"),
        QKeySequence(), &Form1::showHelp);
    MenuAbout = item(MenuHelp, "MenuAbout", QStringLiteral("O programu"), QKeySequence(Qt::Key_F1),
        &Form1::showAbout);
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

void Form1::appendToResultText(std::u16string_view text)
{
    Text3->append(QStringView(text));
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
