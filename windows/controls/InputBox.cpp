#include "InputBox.h"

#include <QInputDialog>

QString inputBox(QWidget *parent, const QString &prompt)
{
    QInputDialog box(parent);
    box.setWindowTitle(QStringLiteral("Zlomkar"));
    box.setLabelText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setInputMode(QInputDialog::TextInput);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}
