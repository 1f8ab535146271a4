#include "Form1.h"
#include "Form2.h"
#include "LocalHttpServer.h"
#include "ProgramIcon.h"
#include "ResultBox.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <memory>

namespace {

QString accessibleName(QObject *object)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("<none>");
}

AboutSetup offline()
{
    AboutSetup setup = AboutSetup::forThisProgram();
    setup.noticeAddress = LocalHttpServer::closedPortUrl(QStringLiteral("/update.txt"));
    return setup;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyControlHasAName();
    void menusKeepTheirCaptions();
    void resultBoxReadsAsReadOnlyText();
    void iconPicturesExist();

private:
    std::unique_ptr<Form1> m_main;
    std::unique_ptr<Form2> m_about;
};

void AccessibilityTest::initTestCase()
{
    m_main = std::make_unique<Form1>(QStringLiteral(","));
    m_main->show();
    m_about = std::make_unique<Form2>(offline());
    m_about->show();
}

void AccessibilityTest::cleanupTestCase()
{
    m_about.reset();
    m_main.reset();
}

// Every control says what it is: by a name of its own, or by its text where that says it. A
// control added later without either fails here.
void AccessibilityTest::everyControlHasAName()
{
    QList<QWidget *> controls
        = m_main->centralWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    controls += m_about->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(controls.size() >= 18);
    for (QWidget *control : controls)
        QVERIFY2(!accessibleName(control).trimmed().isEmpty(), qPrintable(control->objectName()));
    QCOMPARE(accessibleName(m_main->findChild<QWidget *>(QStringLiteral("Text1"))),
        QStringLiteral("dělenec"));
    QCOMPARE(accessibleName(m_main->findChild<QWidget *>(QStringLiteral("Command1"))),
        QStringLiteral("Spustit >>"));
}

void AccessibilityTest::menusKeepTheirCaptions()
{
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(m_main->menuBar());
    QStringList seen;
    for (int i = 0; i < bar->childCount(); ++i)
        seen << bar->child(i)->text(QAccessible::Name);
    QCOMPARE(seen, QStringList({ "Soubor", "Nastavení", "Nápověda" }));

    for (QMenu *menu : m_main->menuBar()->findChildren<QMenu *>()) {
        QAccessibleInterface *items = QAccessible::queryAccessibleInterface(menu);
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(items->childCount(), actions.size());
        for (int i = 0; i < actions.size(); ++i) {
            if (!actions[i]->isSeparator())
                QCOMPARE(items->child(i)->text(QAccessible::Name), actions[i]->text());
        }
    }
}

void AccessibilityTest::resultBoxReadsAsReadOnlyText()
{
    auto *box = m_main->findChild<ResultBox *>(QStringLiteral("Text3"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(box);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->state().readOnly);
    QVERIFY(accessible->state().multiLine);
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("0,625\r\n"));
}

// Resources in a static library are dropped silently when nothing pulls them in.
void AccessibilityTest::iconPicturesExist()
{
    const QImage picture(ProgramIcon::picturePath);
    QCOMPARE(picture.size(), QSize(32, 32));
    QCOMPARE(picture.format(), QImage::Format_Indexed8);
    QVERIFY(picture.colorCount() <= 256);
    for (const QString &path : ProgramIcon::themeSizePaths) {
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        const int size = image.width();
        QVERIFY2(path.contains(QStringLiteral("/%1x%1/").arg(size)), qPrintable(path));
    }
    QCOMPARE(ProgramIcon::icon().availableSizes().size(), 1 + ProgramIcon::themeSizePaths.size());
}

int runAccessibilityTests(int argc, char *argv[])
{
    AccessibilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AccessibilityTest.moc"
