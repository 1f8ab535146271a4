#include "BuildConfig.h"
#include "Form1.h"
#include "ProgramStart.h"
#include "ResultBox.h"
#include "Rows.h"

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

// A modal dialog as the user saw it.
struct Seen
{
    QString title;
    QString buttons;
    QString text;
    bool warning = false;
};

// Answers every modal dialog with `input` ("<Esc>": Cancel), noting what each one showed.
struct DialogAnswerer : QObject
{
    QString input;
    QList<Seen> seen;
    QTimer timer;
    QPointer<QWidget> answered;

    explicit DialogAnswerer(QString input)
        : input(std::move(input))
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog || dialog == answered)
                return;
            answered = dialog;
            QTimer::singleShot(1, this, [this, dialog = answered] {
                if (dialog)
                    answer(dialog);
            });
        });
        timer.start(5);
    }
    void answer(QWidget *dialog)
    {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        auto *files = qobject_cast<QFileDialog *>(dialog);
        auto *prompt = qobject_cast<QInputDialog *>(dialog);
        Seen shown;
        shown.title = dialog->windowTitle();
        for (auto *button : dialog->findChildren<QPushButton *>())
            shown.buttons += button->text() + '|';
        shown.text = box ? box->text()
            : prompt     ? prompt->labelText()
            : files      ? files->nameFilters().join('|') + ' ' + files->selectedFiles().value(0)
                         : QString();
        shown.warning = box && box->icon() == QMessageBox::Warning;
        seen << shown;
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

const QString helpText = "Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno desetinných "
                         "míst\n\nV \"Nastavení\" > \"Počet des. míst\" zadejte";

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
    void setPlaces(const QString &places)
    {
        DialogAnswerer answerer(places);
        choose("MenuSetup", "MenuDesMist");
    }

private slots:
    // The program's names, and numbers in the user's locale.
    void initTestCase()
    {
        const std::unique_ptr<Form1> program = startProgram(*qApp);
        QVERIFY(QTest::qWaitForWindowExposed(program.get()));
        QCOMPARE(QCoreApplication::applicationVersion(), ZLOMKAR_VERSION);
        QCOMPARE(QGuiApplication::desktopFileName(), ZLOMKAR_APP_ID);
        DialogAnswerer answerer("2.5");
        program->findChild<QAction *>("MenuDesMist")->trigger();
        QCOMPARE(program->findChild<QLabel *>("Label3")->text().section(' ', 2, 2),
            "2" + QLocale::system().decimalPoint() + "5");
    }

    void init()
    {
        m_form = std::make_unique<Form1>(
            ",", AboutSetup { "http://127.0.0.1:1/", m_folder.path(), {}, {} });
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void startState()
    {
        QCOMPARE(text("Text1"), "5");
        QCOMPARE(text("Text2"), "8");
        QCOMPARE(box()->text(), "0,625\r\n");
        QCOMPARE(label(), "Počítat na 0 desetinných míst   (0 = \"nekonečno\")");
        QCOMPARE(QApplication::focusWidget(), child("Text1"));
        QVERIFY(child("Command1")->isEnabled());
        QCOMPARE(m_form->windowIcon().availableSizes().size(), 5);
    }

    void menus_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        row("File", "MenuSoubor", "Soubor", QKeySequence());
        row("Save", "MenuSave", "Uložit výsledek...", QKeySequence("Ctrl+S"));
        row("Quit", "MenuQuit", "Konec", QKeySequence("Ctrl+Q"));
        row("Settings", "MenuSetup", "Nastavení", QKeySequence());
        row("Places", "MenuDesMist", "Počet desetinných míst...", QKeySequence());
        row("Help", "MenuHelp", "Nápověda", QKeySequence());
        row("How to use", "MenuPouziti", "Jak používat tento program", QKeySequence());
        row("About", "MenuAbout", "O programu", QKeySequence("F1"));
    }
    void menus()
    {
        QFETCH(QString, name);
        auto *menu = m_form->findChild<QMenu *>(name);
        QAction *item = menu ? menu->menuAction() : m_form->findChild<QAction *>(name);
        QTEST(item->text(), "caption");
        QTEST(item->shortcut(), "shortcut");
    }

    // What a screen reader says of the controls whose own text does not say what they are.
    void accessibleNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        row("dividend", "Text1", "dělenec");
        row("divisor", "Text2", "dělitel");
        row("slash", "Label1", "děleno");
        row("equals", "Label2", "rovná se");
        row("result", "Text3", "výsledek");
        row("Start", "Command1", "Spustit >>");
    }
    void accessibleNames()
    {
        QFETCH(QString, name);
        QTEST(
            QAccessible::queryAccessibleInterface(child(name))->text(QAccessible::Name), "spoken");
    }

    void tabOrder()
    {
        QStringList order;
        for (int i = 0; i < 7; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            order << QApplication::focusWidget()->objectName();
        QCOMPARE(order.join(' '), "Text1 Text2 Text3 Command1 Command2 Command3 Command4");
    }

    // The modal box each command shows: its title, buttons, how its text begins and its icon.
    void dialogs_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("warning");
        const QString help = "Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno "
                             "desetinných míst\n\nV \"Nastavení\" > \"Počet des. míst\"";
        const QString places = "Zadejte počet desetinných míst k vypočítání\nNyní na 0 "
                               "desetinných míst\n(0 = \"nekonečno\")";
        row("Help button", "Command3", "Zlomkar", "OK|", help, false);
        row("Enter on Help", "Enter", "Zlomkar", "OK|", help, false);
        row("Help menu", "MenuPouziti", "Zlomkar", "OK|", help, false);
        row("F1", "F1", "O programu", "", "", false);
        row("zero divisor", "1/0", "Zlomkar", "OK|", "Nulou nelze dělit!", true);
        row("places", "MenuDesMist", "Zlomkar", "OK|Zrušit|", places, false);
    }
    void dialogs()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        DialogAnswerer answerer("<Esc>");
        if (command == "Command3")
            QTest::mouseClick(child(command), Qt::LeftButton);
        else if (command == "Enter")
            press(Qt::Key_Return, "Command3");
        else if (command == "F1")
            press(Qt::Key_F1);
        else if (command == "1/0")
            divide("1", "0");
        else
            choose(command == "MenuPouziti" ? "MenuHelp" : "MenuSetup", qPrintable(command));
        QTRY_COMPARE(answerer.seen.size(), 1);
        QTEST(answerer.seen[0].title, "title");
        QTEST(answerer.seen[0].buttons, "buttons");
        QCOMPARE(answerer.seen[0].text.left(text.size()), text);
        QTEST(answerer.seen[0].warning, "warning");
    }

    // The label after answers to the prompt, one after the other.
    void decimalPlaces_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("shown");
        row("an answer", QStringList { "3" }, "3");
        row("Cancel keeps it", QStringList { "3", "<Esc>" }, "3");
        row("blanks set no limit", QStringList { "3", "   " }, "0");
        row("a number beyond a float keeps it", QStringList { "4", "1e39" }, "4");
    }
    void decimalPlaces()
    {
        QFETCH(QStringList, answers);
        for (const QString &answer : answers)
            setPlaces(answer);
        QTEST(label().section(' ', 2, 2), "shown");
    }

    // In the first yield of 1 / 3: Enter with a new divisor, Save, scrolling up (the box then
    // stays while the run goes on); Esc in the next.
    void duringARun()
    {
        QString saved;
        QScrollBar *bar = box()->verticalScrollBar();
        int scrolled = -1;
        bool startEnabled = true, following = false;
        QTimer::singleShot(0, m_form.get(), [&] {
            startEnabled = child("Command1")->isEnabled();
            DialogAnswerer answerer(m_folder.filePath("run"));
            typeInto(child("Text2"), "7\r");
            press(QKeySequence::Save);
            saved = box()->text();
            // The box takes in what was appended once a frame.
            following = QTest::qWaitFor([&] { return bar->maximum() > 0; })
                && bar->value() == bar->maximum();
            bar->setValue(scrolled = bar->maximum() / 2);
            QTimer::singleShot(0, m_form.get(), [&] { press(Qt::Key_Escape, "Text3"); });
        });
        divide("1", "3");
        QVERIFY(!startEnabled);
        QVERIFY(following);
        QVERIFY(saved.startsWith("0,33333"));
        QVERIFY(contents(m_folder.filePath("run")).endsWith("\r\n1 / 7 = \r\n" + saved.toLatin1()));
        QVERIFY(child("Command1")->isEnabled());
        QVERIFY(box()->length() > saved.size());
        QVERIFY(box()->length() < 10'000'000);
        QCOMPARE(bar->value(), scrolled);
    }

    // Qt's texts in Czech; the next dialog opens where the last save wrote; message 123.
    void saveAs()
    {
        const QString path = m_folder.filePath("výsledek-日本");
        const QString filters = "TeXT files (*.txt)|All (*) ";
        DialogAnswerer answerer(path);
        press(QKeySequence::Save);
        press(QKeySequence::Save);
        answerer.input = m_folder.filePath("missing/a");
        choose("MenuSoubor", "MenuSave");
        QCOMPARE(answerer.seen.size(), 5);
        QCOMPARE(answerer.seen[0].title, "Uložit jako");
        QCOMPARE(answerer.seen[0].buttons, "&Uložit|Zrušit|");
        QVERIFY(answerer.seen[0].text.startsWith(filters));
        QCOMPARE(answerer.seen[1].text, filters + path);
        QCOMPARE(answerer.seen[2].text, "Soubor výsledek-日本 již existuje.\nChcete jej nahradit?");
        QCOMPARE(answerer.seen[2].buttons, "&Ano|&Ne|");
        QCOMPARE(answerer.seen[3].text, filters + path);
        QCOMPARE(answerer.seen[4].text, "Výsledek se nepodařilo uložit!");
        QVERIFY(answerer.seen[4].warning);
    }

    // What the box's tooltip and a reader say of the period, and the menu's bracketed copy.
    void period_data()
    {
        QTest::addColumn<QString>("places");
        QTest::addColumn<QStringList>("divisions");
        QTest::addColumn<QString>("stated");
        QTest::addColumn<QString>("copied");
        const QString seven = "Perioda: 6 číslic od 1. desetinného místa";
        const QString twelve = "Předperioda: 2 číslice, perioda: 1 číslice od 3. desetinného místa";
        const QString ends = "Výsledek je konečný";
        row("shown", "8", QStringList { "1/12" }, twelve, "0,08(3)");
        row("negative", "12", QStringList { "-1/7" }, seven, "-0,(142857)");
        row("not all shown", "3", QStringList { "22/7" }, seven, "");
        row("a new run", "12", QStringList { "1/7", "5/8" }, ends, "");
    }
    void period()
    {
        QFETCH(QString, places);
        QFETCH(QStringList, divisions);
        QFETCH(QString, stated);
        setPlaces(places);
        QGuiApplication::clipboard()->clear();
        for (const QString &division : divisions)
            divide(division.section('/', 0, 0), division.section('/', 1));
        QTRY_COMPARE(box()->toolTip(), stated);
        const auto *reader = QAccessible::queryAccessibleInterface(box());
        QCOMPARE(reader->text(QAccessible::Description), stated);
        QString item;
        QTimer::singleShot(0, [&] {
            auto *menu = static_cast<QMenu *>(QApplication::activePopupWidget());
            QAction *bracketed = menu->actions().value(1);
            item = bracketed->text();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(bracketed).center());
            menu->close();
        });
        QTest::keyClick(box(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(item, "Kopírovat s &periodou");
        QTEST(QGuiApplication::clipboard()->text(), "copied");
    }

    // An earlier run's search, still going, never states its result after a new Start.
    void periodOfAnEarlierRun()
    {
        setPlaces("5");
        divide("1", "3000017");
        DialogAnswerer answerer("<Esc>");
        divide("1", "0");
        QTest::qWait(500);
        QCOMPARE(box()->toolTip(), "");
    }

    // Quit and the close box in a run end the loop and hide every window, and stop the run.
    void endingDuringARun_data()
    {
        QTest::addColumn<QString>("how");
        row("Quit", "button");
        row("the close box", "close");
    }
    void endingDuringARun()
    {
        QFETCH(QString, how);
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(), { "--quit-probe", how });
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.readAllStandardOutput(), "loop ended, window hidden, run stopped");
    }
};

int runMainWindowTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<MainWindowTest>().get(), argc, argv);
}

// A run of 1 / 7 without a limit, ended in its first yield: it stops short of its end.
int quitProbe(const QString &how)
{
    Form1 form(",");
    form.findChild<QLineEdit *>("Text2")->setText("7");
    form.show();
    auto *box = form.findChild<ResultBox *>();
    QTimer::singleShot(0, form.findChild<QPushButton *>("Command1"), &QPushButton::click);
    QTimer::singleShot(0, &form, [&] {
        if (how == "button")
            QTest::mouseClick(form.findChild<QWidget *>("Command4"), Qt::LeftButton);
        else
            form.close();
    });
    const bool ended = QApplication::exec() == 0;
    const bool stopped = box->length() > 10 && box->length() < 1'000'000;
    std::printf("%s, %s, %s", ended ? "loop ended" : "loop went on",
        form.isHidden() ? "window hidden" : "window shown",
        stopped ? "run stopped" : "run went on");
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
    QTimer::singleShot(0, &form, [&] { // in the run's first yield
        form.findChild<QAction *>("MenuDesMist")->trigger();
        press("Escape", [&] { return start->isEnabled(); });
        form.close();
    });
    start->click();
    return 0;
}

#include "MainWindowTest.moc"
