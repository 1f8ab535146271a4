#pragma once

class QString;
class QWidget;

// A modal box titled "Zlomkar" showing `prompt` (CR LF pairs are line breaks) above an empty
// field, with OK and Cancel. Returns the field's text on OK, the empty text on Cancel or close.
QString inputBox(QWidget *parent, const QString &prompt);
