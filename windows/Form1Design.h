#pragma once

#include "CommonDialog.h"

class QAction;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class ResultBox;

// The main window as it is designed: its controls with their first texts, places, fonts, names and
// tab order, and its menus with their first captions and shortcuts, which the window's load step
// replaces with messages. The window connects the commands.
class Form1Design
{
protected:
    void setupDesign(QMainWindow *window);

    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    ResultBox *Text3 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QLabel *Label3 = nullptr;
    CommonDialog CommonDialog1;

    QMenu *MenuSoubor = nullptr;
    QAction *MenuSave = nullptr;
    QAction *no1 = nullptr;
    QAction *MenuQuit = nullptr;
    QMenu *MenuSetup = nullptr;
    QAction *MenuDesMist = nullptr;
    QMenu *MenuHelp = nullptr;
    QAction *MenuPouziti = nullptr;
    QAction *MenuAbout = nullptr;

private:
    void createControls(QMainWindow *window);
    void createMenus(QMainWindow *window);
};
