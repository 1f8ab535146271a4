#pragma once

#include <memory>

class Form1;
class QApplication;

// What the program does when it starts: it names itself, takes Qt's own texts in Czech and shows
// the main window, which writes numbers with the decimal separator of the user's locale.
std::unique_ptr<Form1> startProgram(QApplication &application);
