#pragma once

#include <QMainWindow>
#include <QString>

class QLineEdit;
class QWidget;

// Real key and mouse events for the main window, as a user would give them.
namespace WindowDriver {

// Replaces the text of a line edit by typing: Ctrl+A, then the keys (Backspace for an empty text).
void typeInto(QLineEdit *edit, const QString &text);

// Opens a menu of the menu bar with the mouse and clicks one of its items.
void chooseMenuItem(QMainWindow &window, const char *menuName, const char *itemName);

} // namespace WindowDriver
