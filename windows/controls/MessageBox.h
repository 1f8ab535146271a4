#pragma once

class QString;
class QWidget;

enum class MessageIcon { None, Warning };

// A modal box titled "Zlomkar" with one OK button; CR LF pairs in `text` are line breaks and empty
// lines are kept. Returns once the user has closed it.
void showMessageBox(QWidget *parent, const QString &text, MessageIcon icon);
