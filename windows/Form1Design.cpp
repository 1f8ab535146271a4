#include "Form1Design.h"

#include "DesignFont.h"
#include "DesignLabel.h"
#include "ProgramIcon.h"
#include "ResultBox.h"
#include "Twips.h"

#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

void Form1Design::setupDesign(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("Form1"));
    window->setWindowTitle(QStringLiteral("Zlomkar"));
    window->setWindowIcon(ProgramIcon::icon());
    window->setWindowFlags(
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    createControls(window);
    createMenus(window);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form1Design::createControls(QMainWindow *window)
{
    auto *client = new QWidget(window);
    client->setFixedSize(fromTwips(0, 0, 4920, 6975).size());
    client->setFont(designFont(8));
    window->setCentralWidget(client);
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

void Form1Design::createMenus(QMainWindow *window)
{
    auto item = [](QMenu *menu, const char *name, const QString &caption,
                    const QKeySequence &shortcut = {}) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        return action;
    };
    auto menu = [window](const char *name, const QString &caption) {
        QMenu *created = window->menuBar()->addMenu(caption);
        created->setObjectName(QLatin1String(name));
        return created;
    };

    MenuSoubor = menu("MenuSoubor", QStringLiteral("Soubor"));
    MenuSave = item(MenuSoubor, "MenuSave", QStringLiteral("Uložit výsledek"),
        QKeySequence(Qt::CTRL | Qt::Key_S));
    no1 = MenuSoubor->addSeparator();
    no1->setObjectName(QStringLiteral("no1"));
    MenuQuit
        = item(MenuSoubor, "MenuQuit", QStringLiteral("Konec"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    MenuSetup = menu("MenuSetup", QStringLiteral("Nastaveni"));
    MenuDesMist = item(MenuSetup, "MenuDesMist", QStringLiteral("Počet desetinných míst"));

    MenuHelp = menu("MenuHelp", QStringLiteral("Nápověda"));
    MenuPouziti = item(MenuHelp, "MenuPouziti", QStringLiteral("Jak používat aplikaci"));
    MenuAbout = item(MenuHelp, "MenuAbout", QStringLiteral("O programu"), QKeySequence(Qt::Key_F1));
}
