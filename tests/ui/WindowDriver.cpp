#include "WindowDriver.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

void WindowDriver::typeInto(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80) {
            QTest::keyClick(edit, text[i].toLatin1());
            continue;
        }
        // Keys beyond ASCII arrive as text, the way an input method delivers them.
        const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(
            QTest::Click, edit, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

void WindowDriver::chooseMenuItem(QMainWindow &window, const char *menuName, const char *itemName)
{
    auto *menu = window.findChild<QMenu *>(QLatin1String(menuName));
    auto *item = window.findChild<QAction *>(QLatin1String(itemName));
    QVERIFY(menu && item);
    QMenuBar *bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}
