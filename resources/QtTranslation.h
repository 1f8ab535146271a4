#pragma once

class QCoreApplication;

// Qt's own texts in Czech, like the rest of the program, whatever the system's language: the
// buttons and labels of the standard dialogs and of the result box's menu. Without its catalogue
// the program keeps Qt's English texts.
void installQtTranslation(QCoreApplication &application);
