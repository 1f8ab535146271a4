#include "MessageBox.h"

#include <QMessageBox>

void showMessageBox(QWidget *parent, const QString &text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
        QStringLiteral("Zlomkar"),
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), QMessageBox::Ok,
        parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
