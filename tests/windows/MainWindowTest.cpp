#include "BuildConfig.h"
#include "Form1.h"
#include "ProgramStart.h"
#include "ResultBox.h"

#include <QAccessible>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<none>";
}

// Answers dialogs with `input` ("<Esc>": Cancel), noting each one's title, buttons and text.
struct DialogAnswerer : QObject
{
    QString input;
    QStringList seen;
    QTimer timer;
    QPointer<QWidget> answered;

    explicit DialogAnswerer(QString input)
        : input(std::move(input))
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (dialog && dialog != answered)
                QTimer::singleShot(
                    1, this, [this, d = answered = dialog] { d ? answer(d) : void(); });
        });
        timer.start(5);
    }
    void answer(QWidget *dialog)
    {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        auto *files = qobject_cast<QFileDialog *>(dialog);
        auto *prompt = qobject_cast<QInputDialog *>(dialog);
        QString shown = dialog->windowTitle() + ':';
        for (auto *button : dialog->findChildren<QPushButton *>())
            shown += button->text() + '|';
        seen << shown
                + (box           ? box->text() + (box->icon() == QMessageBox::Warning ? "|!" : "")
                        : prompt ? prompt->labelText()
                        : files  ? files->nameFilters().join('|') + ' ' + files->selectedFiles()[0]
                                 : "");
        if (QAbstractButton *yes = box ? box->button(QMessageBox::Yes) : nullptr)
            return QTest::mouseClick(yes, Qt::LeftButton);
        auto *field = dialog->findChild<QLineEdit *>(files ? "fileNameEdit" : "");
        if (!box && !field)
            return void(dialog->close());
        if (field) // set: typed, a completion takes the Return
            field->setText(input == "<Esc>" ? "" : input);
        QTest::keyClick(field ? field : dialog, input == "<Esc>" ? Qt::Key_Escape : Qt::Key_Return);
    }
};

void typeInto(QWidget *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "\b" + text);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

    const QTemporaryDir m_folder;
    std::unique_ptr<Form1> m_form;

    QWidget *child(const QString &name) const { return m_form->findChild<QWidget *>(name); }
    QString text(const char *name) const { return m_form->findChild<QLineEdit *>(name)->text(); }
    QString label() const { return m_form->findChild<QLabel *>("Label3")->text(); }
    ResultBox *box() const { return m_form->findChild<ResultBox *>(); }
    void divide(const QString &dividend, const QString &divisor)
    {
        typeInto(child("Text2"), divisor);
        typeInto(child("Text1"), dividend + '\r');
    }
    // Shortcuts need the window active; offscreen no dialog gives it back.
    void press(const QKeySequence &keys, const QString &focus = "Text1")
    {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        child(focus)->setFocus();
        QTest::keySequence(child(focus), keys);
    }
    void choose(const char *menuName, const char *itemName)
    {
        auto *menu = m_form->findChild<QMenu *>(menuName);
        QMenuBar *bar = m_form->menuBar();
        QTest::mouseClick(
            bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {},
            menu->actionGeometry(m_form->findChild<QAction *>(itemName)).center());
    }

private slots:
    // Numbers in the user's locale, Qt's texts in Czech (Save As shows them).
    void initTestCase()
    {
        const std::unique_ptr<Form1> program = startProgram(*qApp);
        QVERIFY(QTest::qWaitForWindowExposed(program.get()));
        DialogAnswerer answerer("2.5");
        program->findChild<QAction *>("MenuDesMist")->trigger();
        QCOMPARE(program->findChild<QLabel *>("Label3")->text().section(' ', 2, 2) + ' '
                + QCoreApplication::applicationVersion() + ' ' + QGuiApplication::desktopFileName(),
            "2" + QLocale::system().decimalPoint() + "5 " ZLOMKAR_VERSION " " ZLOMKAR_APP_ID);
    }

    void init()
    {
        m_form = std::make_unique<Form1>(
            ",", AboutSetup { "http://127.0.0.1:1/", m_folder.path(), {}, {} });
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    // Menus, names, Tab order; Help, About, Esc, keys in the result box; 1 / 0; the prompt.
    void commands()
    {
        QStringList seen;
        for (QAction *menu : m_form->menuBar()->actions())
            for (QAction *item : menu->menu()->actions())
                seen << menu->text() + '>' + item->text();
        for (const char *label : { "Label1", "Label2" })
            seen << QAccessible::queryAccessibleInterface(child(label))->text(QAccessible::Name);
        for (int i = 0; i < 7; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            seen << QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                        ->text(QAccessible::Name);
        QCOMPARE(seen.join(';'),
            "Soubor>Uložit výsledek...;Soubor>;Soubor>Konec;Nastavení>Počet desetinných míst...;"
            "Nápověda>Jak používat tento program;Nápověda>O programu;děleno;rovná se;dělenec;"
            "dělitel;výsledek;"
            "Spustit >>;Zastavit ||;Nápověda ?;Konec X");
        const QAccessible::State state = QAccessible::queryAccessibleInterface(box())->state();
        QVERIFY(state.readOnly && state.multiLine && state.selectableText);
        QCOMPARE(m_form->windowIcon().availableSizes().size(), 5);
        DialogAnswerer answerer("3");
        QTest::mouseClick(child("Command3"), Qt::LeftButton);
        choose("MenuHelp", "MenuPouziti");
        press(Qt::Key_Return, "Command3");
        press(Qt::Key_F1);
        press(Qt::Key_Escape);
        press(QKeySequence("1, Backspace, Ctrl+A, Ctrl+C"), "Text3");
        choose("MenuSetup", "MenuDesMist");
        divide("22", "7");
        const QString run = box()->text();
        divide("2.9", " 0x");
        QCOMPARE(QGuiApplication::clipboard()->text() + run + box()->text() + text("Text1")
                + text("Text2"),
            "0,625\r\n3,142Chybné zadání => dělení nulou20");
        const QString help
            = "Zlomkar:OK|Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno "
              "desetinných míst\n\nV \"Nastavení\" > \"Počet des. míst\" zadejte "
              "počet des. míst na které má být příklad vypočítán\nZadejte čísla a "
              "klikněte na tlačítko \"Spustit\"\n\nPřerušit počítní můžete kdykoliv "
              "tlačítkem \"Zastavit\"\n\nVýsledek si můžete uložit do textového "
              "souboru přes \"Soubor\" > \"Uložit výsledek\"\n\n\nwww." ZLOMKAR_WEB_DOMAIN;
        QCOMPARE(answerer.seen,
            QStringList({ help, help, help, "O programu:",
                "Zlomkar:OK|Zrušit|Zadejte počet desetinných míst k vypočítání\nNyní na 0 "
                "desetinných míst\n(0 = \"nekonečno\")",
                "Zlomkar:OK|Nulou nelze dělit!|!" }));

        // Answers to the prompt in turn: Cancel and a number out of range keep the places.
        QString places;
        for (const char *answer : { "3", "<Esc>", "1e39", "-4", "   ", "2,5", "abc" }) {
            answerer.input = answer;
            choose("MenuSetup", "MenuDesMist");
            places += label().section(' ', 2, 2);
        }
        QCOMPARE(places + label(), "3334020Počítat na 0 desetinných míst   (0 = \"nekonečno\")");
    }

    // In yields of 1 / 3: Enter, a new divisor, Save, scrolling up (the box then stays), Esc.
    void duringARun()
    {
        QString seen;
        QScrollBar *bar = box()->verticalScrollBar();
        int scrolled = 0;
        QTimer::singleShot(30, m_form.get(), [&] {
            QVERIFY(!child("Command1")->isEnabled());
            DialogAnswerer answerer(m_folder.filePath("run"));
            typeInto(child("Text2"), "7\r");
            press(QKeySequence::Save);
            seen = box()->text();
            QVERIFY(bar->value() == bar->maximum() && bar->maximum() > 0);
            bar->setValue(scrolled = bar->maximum() / 2);
            QTimer::singleShot(50, m_form.get(), [&] { press(Qt::Key_Escape, "Text3"); });
        });
        divide("1", "3");
        QVERIFY(seen.startsWith("0,33333") && child("Command1")->isEnabled());
        QVERIFY(bar->value() == scrolled && bar->maximum() > 2 * scrolled + 1);
        QVERIFY(contents(m_folder.filePath("run")).endsWith("\r\n1 / 7 = \r\n" + seen.toLatin1()));
    }

    // Qt's texts in Czech; the next dialog opens where the last save wrote; message 123.
    void saveAs()
    {
        const QString path = m_folder.filePath("výsledek-日本");
        DialogAnswerer answerer(path);
        press(QKeySequence::Save);
        press(QKeySequence::Save);
        answerer.input = m_folder.filePath("missing/a");
        choose("MenuSoubor", "MenuSave");
        const QString shown = "Uložit jako:&Uložit|Zrušit|TeXT files (*.txt)|All (*) ";
        QVERIFY(answerer.seen[0].startsWith(shown));
        QCOMPARE(answerer.seen.mid(1),
            QStringList({ shown + path,
                "Uložit jako:&Ano|&Ne|Soubor výsledek-日本 již existuje.\nChcete jej nahradit?|!",
                shown + path, "Zlomkar:OK|Výsledek se nepodařilo uložit!|!" }));
    }

    // Places and divisions: what the box's tooltip and a reader say of the period, the menu's
    // bracketed copy.
    void period_data()
    {
        QTest::addColumn<QString>("shown");
        const QString seven = "Perioda: 6 číslic od 1. desetinného místa";
        for (const QString &row : QStringList { "8 1/12|Předperioda: 2 číslice, perioda: 1 číslice "
                                                "od 3. desetinného místa|on 0,08(3)",
                 "3 22/7|" + seven + "|off ", "12 -1/7|" + seven + "|on -0,(142857)",
                 "12 1/7 5/8|Výsledek je konečný|off " })
            QTest::newRow(qPrintable(row.section('|', 0, 0))) << row.section('|', 1);
    }
    void period()
    {
        QFETCH(QString, shown);
        const QStringList divisions = QString(QTest::currentDataTag()).split(' ');
        DialogAnswerer answerer(divisions[0]);
        choose("MenuSetup", "MenuDesMist");
        QGuiApplication::clipboard()->clear();
        for (const QString &division : divisions.mid(1))
            divide(division.section('/', 0, 0), division.section('/', 1));
        QTRY_VERIFY(!box()->toolTip().isEmpty());
        QString copy;
        QTimer::singleShot(0, [&] {
            auto *menu = static_cast<QMenu *>(QApplication::activePopupWidget());
            QAction *bracketed = menu->actions().value(1);
            copy = bracketed->text() + (bracketed->isEnabled() ? " on " : " off ");
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(bracketed).center());
            menu->close();
        });
        QTest::keyClick(box(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(box()->toolTip() + '|'
                + QAccessible::queryAccessibleInterface(box())->text(QAccessible::Description) + '|'
                + copy + QGuiApplication::clipboard()->text(),
            shown.replace('|', '|' + box()->toolTip() + "|Kopírovat s &periodou "));
    }

    // Runs and About windows, repeated, leave no file open and hold no memory.
    void noLeaks()
    {
        DialogAnswerer answerer("100000");
        choose("MenuSetup", "MenuDesMist");
        auto rounds = [&] {
            for (int i = 0; i < 20; ++i, press(Qt::Key_F1))
                divide("1", "7");
            return std::pair(
                QDir("/proc/self/fd").count(), contents("/proc/self/statm").split(' ')[1].toLong());
        };
        const auto [files, pages] = rounds();
        const auto [filesAfter, pagesAfter] = rounds();
        QCOMPARE(filesAfter, files);
#ifndef __SANITIZE_ADDRESS__ // which holds freed memory back on purpose
        QCOMPARE_LT(pagesAfter - pages, 256);
#endif
    }

    // Quit and the close box in a run end the loop and hide every window, digits having come.
    void endingDuringARun()
    {
        for (const QString how : { "button", "close" }) {
            QProcess probe;
            probe.start(QCoreApplication::applicationFilePath(), { "--quit-probe", how });
            QVERIFY(probe.waitForFinished(10000));
            QCOMPARE(how + probe.readAllStandardOutput(), how + "111");
        }
    }
};

int runMainWindowTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<MainWindowTest>().get(), argc, argv);
}

// Prints 1 each: the loop ended, the window hid, more than 10 digits came.
int quitProbe(const QString &how)
{
    Form1 form(",");
    form.findChild<QLineEdit *>("Text2")->setText("7");
    form.show();
    QTimer::singleShot(0, form.findChild<QPushButton *>("Command1"), &QPushButton::click);
    QTimer::singleShot(200, &form, [&] {
        how == "button" ? QTest::mouseClick(form.findChild<QWidget *>("Command4"), Qt::LeftButton)
                        : void(form.close());
    });
    const bool ended = QApplication::exec() == 0;
    std::printf(
        "%d%d%d", ended, form.isHidden(), form.findChild<ResultBox *>()->text().size() > 10);
    return 0;
}

// Under a window manager, 1 for each that worked: keys at start, after help, after a replaced save,
// Esc after a prompt in a run, a drag's selection. Keys are retried: the focus may come late.
int focusProbe()
{
    Form1 form(",");
    auto *dividend = form.findChild<QLineEdit *>("Text1");
    auto *start = form.findChild<QPushButton *>("Command1");
    DialogAnswerer answerer("<Esc>");
    auto press = [&](const char *key, auto done) {
        for (int i = 0; i < 10 && !done(); ++i) {
            QProcess::execute("xdotool", { "key", key });
            (void)QTest::qWaitFor(done, 500);
        }
        std::printf("%d", done());
    };
    form.show();
    press("1", [&] { return dividend->text().endsWith('1'); });
    form.findChild<QPushButton *>("Command3")->click();
    press("0", [&] { return dividend->text().endsWith('0'); });
    answerer.input = QDir::home().filePath("saved"); // the second time over the first
    for (int save = 0; save < 2; ++save)
        form.findChild<QAction *>("MenuSave")->trigger();
    press("2", [&] { return dividend->text().endsWith('2'); });
    answerer.input = "<Esc>";
    auto *view = form.findChild<ResultBox *>()->viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, { 3, 5 });
    QMouseEvent drag(QEvent::MouseMove, QPointF(200, 5), QPointF(), {}, Qt::LeftButton, {});
    QApplication::sendEvent(view, &drag);
    QTest::mouseRelease(view, Qt::LeftButton, {}, { 200, 5 });
    std::printf("%d", QGuiApplication::clipboard()->text(QClipboard::Selection) == "0,625");
    form.findChild<QLineEdit *>("Text2")->setText("9");
    QTimer::singleShot(100, &form, [&] {
        form.findChild<QAction *>("MenuDesMist")->trigger();
        press("Escape", [&] { return start->isEnabled(); });
        form.close();
    });
    start->click();
    return 0;
}

#include "MainWindowTest.moc"
