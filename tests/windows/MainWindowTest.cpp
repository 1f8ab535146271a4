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

// Answers dialogs with `input` ("<Esc>": Cancel), noting what each shows, its title and buttons.
struct DialogAnswerer : QObject
{
    QString input;
    QStringList seen, buttons;
    QTimer timer;
    QPointer<QWidget> answered;

    explicit DialogAnswerer(QString input = {})
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
        QStringList captions;
        for (auto *button : dialog->findChildren<QPushButton *>())
            captions << button->text();
        buttons << dialog->windowTitle() + ':' + captions.join('|');
        if (box && qobject_cast<QFileDialog *>(box->parentWidget()))
            return QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        seen << (box ? box->windowTitle() + '|' + box->text()
                    + (box->icon() == QMessageBox::Warning ? "|!" : "")
                : prompt ? prompt->windowTitle() + '|' + prompt->labelText()
                : files  ? files->nameFilters().join('|') + ' ' + files->selectedFiles()[0]
                         : dialog->findChild<QLabel *>("Label15")->text());
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

void chooseMenuItem(QMainWindow &window, const char *menuName, const char *itemName)
{
    auto *menu = window.findChild<QMenu *>(menuName);
    QTest::mouseClick(window.menuBar(), Qt::LeftButton, {},
        window.menuBar()->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {},
        menu->actionGeometry(window.findChild<QAction *>(itemName)).center());
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
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

private slots:
    // The program as it starts: its names, numbers in the user's locale, Qt's texts in Czech (Save
    // As shows them).
    void initTestCase()
    {
        const std::unique_ptr<Form1> program = startProgram(*qApp);
        QVERIFY(QTest::qWaitForWindowExposed(program.get()));
        DialogAnswerer answerer("2.5");
        program->findChild<QAction *>("MenuDesMist")->trigger();
        QCOMPARE(QStringList({ program->findChild<QLabel *>("Label3")->text().section(' ', 2, 2),
                     QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                     QGuiApplication::desktopFileName() }),
            QStringList({ "2" + QLocale::system().decimalPoint() + "5", "zlomkar",
                ZLOMKAR_VERSION, ZLOMKAR_APP_ID }));
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_form = std::make_unique<Form1>(
            ",", AboutSetup { "http://127.0.0.1:1/", m_folder->path(), {}, {} });
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    // The load step's captions and label, and Tab through the controls' names.
    void startState()
    {
        QStringList seen;
        for (QAction *menu : m_form->menuBar()->actions())
            for (QAction *item : menu->menu()->actions())
                seen << menu->text() + '>' + item->text();
        for (int i = 0; i < 7; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            seen << QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                        ->text(QAccessible::Name);
        QCOMPARE(seen.join(';') + label(),
            "Soubor>Uložit výsledek...;Soubor>;Soubor>Konec;Nastavení>Počet desetinných míst...;"
            "Nápověda>Jak používat tento program;Nápověda>O programu;dělenec;dělitel;výsledek;"
            "Spustit >>;Zastavit ||;Nápověda ?;Konec XPočítat na 0 desetinných míst   (0 = "
            "\"nekonečno\")");
        const QAccessible::State state = QAccessible::queryAccessibleInterface(box())->state();
        QVERIFY(state.readOnly && state.multiLine && state.selectableText);
        QCOMPARE(m_form->windowIcon().availableSizes().size(), 5);
        QCOMPARE(child("Label3")->x(), box()->x());
    }

    // Help, About, Stop and keys in the result box while idle, the prompt, a zero divisor.
    void commands()
    {
        DialogAnswerer answerer("3");
        QTest::mouseClick(child("Command3"), Qt::LeftButton);
        chooseMenuItem(*m_form, "MenuHelp", "MenuPouziti");
        press(Qt::Key_Return, "Command3");
        press(Qt::Key_F1);
        press(Qt::Key_Escape);
        press(QKeySequence("1, Backspace, Ctrl+A, Ctrl+C"), "Text3");
        chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
        divide("22", "7");
        const QString run = box()->text();
        divide("2.9", " 0x");
        QCOMPARE(QGuiApplication::clipboard()->text() + run + box()->text() + text("Text1")
                + text("Text2"),
            "0,625\r\n3,142Chybné zadání => dělení nulou20");
        const QString help
            = "Zlomkar|Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno "
              "desetinných míst\n\nV \"Nastavení\" > \"Počet des. míst\" zadejte "
              "počet des. míst na které má být příklad vypočítán\nZadejte čísla a "
              "klikněte na tlačítko \"Spustit\"\n\nPřerušit počítní můžete kdykoliv "
              "tlačítkem \"Zastavit\"\n\nVýsledek si můžete uložit do textového "
              "souboru přes \"Soubor\" > \"Uložit výsledek\"\n\n\nwww." ZLOMKAR_WEB_DOMAIN;
        QCOMPARE(answerer.seen,
            QStringList({ help, help, help, "Při stahování došlo k chybě",
                "Zlomkar|Zadejte počet desetinných míst k vypočítání\nNyní na 0 desetinných "
                "míst\n(0 = \"nekonečno\")",
                "Zlomkar|Nulou nelze dělit!|!" }));
        QCOMPARE(answerer.buttons[4], "Zlomkar:OK|Zrušit");
    }

    // Answers to the prompt after a 3: the label, sized to its text.
    void decimalPlaces_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("places");
        for (const auto &[answer, places] : { std::pair { "<Esc>", "3" }, { "-4", "4" },
                 { "   ", "0" }, { "2,5", "2" }, { "abc", "0" }, { "1e39", "3" } })
            QTest::newRow(answer) << answer << places;
    }
    void decimalPlaces()
    {
        DialogAnswerer answerer("3");
        chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
        QFETCH(QString, answer);
        QFETCH(QString, places);
        answerer.input = answer;
        chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
        QCOMPARE(label(), "Počítat na " + places + " desetinných míst   (0 = \"nekonečno\")");
        QCOMPARE(child("Label3")->width(), child("Label3")->sizeHint().width());
    }

    // In yields of 1 / 3: Enter, a new divisor, Save, scrolling up (the box then stays), Esc.
    void duringARun()
    {
        QString seen;
        QScrollBar *bar = box()->verticalScrollBar();
        int scrolled = 0;
        QTimer::singleShot(30, m_form.get(), [&] {
            QVERIFY(!child("Command1")->isEnabled());
            DialogAnswerer answerer(m_folder->filePath("run"));
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
        QVERIFY(contents(m_folder->filePath("run")).endsWith("\r\n1 / 7 = \r\n" + seen.toLatin1()));
    }

    // Save As: its filters, Qt's buttons and question in Czech, message 123 when a save fails, and
    // the next dialog opens where the last save wrote.
    void saveAs()
    {
        const QString path = m_folder->filePath("výsledek-日本");
        DialogAnswerer answerer(path);
        press(QKeySequence::Save);
        press(QKeySequence::Save);
        answerer.input = m_folder->filePath("missing/a");
        chooseMenuItem(*m_form, "MenuSoubor", "MenuSave");
        QVERIFY(contents(path).endsWith("www." ZLOMKAR_WEB_DOMAIN "\r\n\r\n5 / 8 = \r\n0,625\r\n"));
        const QString filters = "TeXT files (*.txt)|All (*) ";
        QVERIFY(answerer.seen[0].startsWith(filters));
        QCOMPARE(answerer.seen.mid(1), QStringList({ filters + path, filters + path,
                                           "Zlomkar|Výsledek se nepodařilo uložit!|!" }));
        QCOMPARE(answerer.buttons.mid(0, 3), QStringList({ "Uložit jako:&Uložit|Zrušit",
                                                "Uložit jako:&Uložit|Zrušit", "Uložit jako:&Ano|&Ne" }));
    }

    // Runs and About windows, repeated, leave no file open and hold no memory.
    void noLeaks()
    {
        DialogAnswerer answerer("100000");
        chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
        auto rounds = [&] {
            for (int i = 0; i < 20; ++i, press(Qt::Key_F1))
                divide("1", "7");
            QFile status("/proc/self/statm");
            status.open(QIODevice::ReadOnly);
            return std::pair(QDir("/proc/self/fd").count(), status.readAll().split(' ')[1].toLong());
        };
        const auto [files, pages] = rounds();
        const auto [filesAfter, pagesAfter] = rounds();
        QCOMPARE(filesAfter, files);
#ifndef __SANITIZE_ADDRESS__ // which holds freed memory back on purpose
        QVERIFY2(pagesAfter - pages < 256, qPrintable(QString::number(pagesAfter - pages)));
#endif
    }

    void endingDuringARun_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : { "button", "close" })
            QTest::newRow(how) << how;
    }
    void endingDuringARun()
    {
        QFETCH(QString, how);
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(), { "--quit-probe", how });
        QVERIFY(probe.waitForFinished(10000));
        const QList<QByteArray> left = probe.readAllStandardOutput().split(' ');
        QCOMPARE(left.mid(0, 2), QList<QByteArray>({ "ended", "hidden" }));
        QVERIFY2(left.value(2).toInt() > 10, "the division was running");
    }
};

int runMainWindowTest(int argc, char *argv[])
{
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

// In a process of its own, Quit or the close box in a run: the loop ended, windows hid, digits.
int quitProbe(const QString &how)
{
    Form1 form(",");
    form.show();
    auto *dividend = form.findChild<QLineEdit *>("Text1");
    QTimer::singleShot(0, &form, [&] {
        typeInto(form.findChild<QLineEdit *>("Text2"), "7");
        typeInto(dividend, "1\r");
    });
    QTimer::singleShot(200, &form, [&] {
        how == "button" ? QTest::mouseClick(form.findChild<QWidget *>("Command4"), Qt::LeftButton)
                        : void(form.close());
    });
    const bool ended = QApplication::exec() == 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool hidden
        = std::none_of(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); });
    std::printf("%s %s %lld", ended ? "ended" : "running", hidden ? "hidden" : "shown",
        qint64(form.findChild<ResultBox *>()->text().size()));
    return 0;
}

// Under a window manager: keys at start, after help, Esc after a prompt; a drag's selection. 1 each
// that worked; keys are retried, as the focus may come late.
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
    // The primary selection of a drag.
    auto *box = form.findChild<ResultBox *>();
    QTest::mousePress(box->viewport(), Qt::LeftButton, {}, { 3, 5 });
    QMouseEvent drag(QEvent::MouseMove, QPointF(200, 5), QPointF(), {}, Qt::LeftButton, {});
    QApplication::sendEvent(box->viewport(), &drag);
    QTest::mouseRelease(box->viewport(), Qt::LeftButton, {}, { 200, 5 });
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
