#include "Form1.h"
#include "ProgramStart.h"
#include "ResultBox.h"
#include "Rows.h"

#include <QClipboard>
#include <QFileDialog>
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

// Answers every modal dialog with `input` ("<Esc>": Cancel), noting the text each one showed; a
// file dialog's text is its filters and the file it offered.
struct DialogAnswerer : QObject
{
    QString input;
    QStringList texts;
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
            QTimer::singleShot(1, dialog, [this, dialog] { answer(dialog); });
        });
        timer.start(5);
    }
    void answer(QWidget *dialog)
    {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        auto *files = qobject_cast<QFileDialog *>(dialog);
        texts << (box   ? box->text()
                : files ? files->nameFilters().join('|') + ' ' + files->selectedFiles().value(0)
                        : QString());
        if (QAbstractButton *yes = box ? box->button(QMessageBox::Yes) : nullptr)
            return QTest::mouseClick(yes, Qt::LeftButton);
        auto *field = dialog->findChild<QLineEdit *>(files ? "fileNameEdit" : "");
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
    // Numbers in the user's locale; Qt's own texts in Czech from here on.
    void initTestCase()
    {
        const std::unique_ptr<Form1> program = startProgram(*qApp);
        DialogAnswerer answerer("2.5");
        program->findChild<QAction *>("MenuDesMist")->trigger();
        QCOMPARE(program->findChild<QLabel *>("Label3")->text().section(' ', 2, 2),
            "2" + QLocale::system().decimalPoint() + "5");
    }

    void init()
    {
        m_form = std::make_unique<Form1>(",");
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    // The catalogue's texts reach the menu bar in place of the design's.
    void menuTexts()
    {
        QCOMPARE(m_form->findChild<QMenu *>("MenuSetup")->title(), "Nastavení");
        QCOMPARE(m_form->findChild<QAction *>("MenuDesMist")->text(), "Počet desetinných míst...");
    }

    // Enter clicks the button that has the focus, not Start; the help's lines stay apart.
    void enterOnAFocusedButton()
    {
        DialogAnswerer answerer("<Esc>");
        press(Qt::Key_Return, "Command3");
        QTRY_COMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts[0].startsWith(
            "Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno desetinných míst\n\nV"));
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
        QFile file(m_folder.filePath("run"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("\r\n1 / 7 = \r\n" + saved.toLatin1()));
        QVERIFY(child("Command1")->isEnabled());
        QVERIFY(box()->length() > saved.size());
        QVERIFY(box()->length() < 10'000'000);
        QCOMPARE(bar->value(), scrolled);
    }

    // The next dialog opens where the last save wrote; Qt's texts in Czech; message 123.
    void saveAs()
    {
        const QString path = m_folder.filePath("výsledek-日本");
        DialogAnswerer answerer(path);
        press(QKeySequence::Save);
        press(QKeySequence::Save);
        answerer.input = m_folder.filePath("missing/a");
        choose("MenuSoubor", "MenuSave");
        QCOMPARE(answerer.texts.size(), 5);
        QCOMPARE(answerer.texts[1], "TeXT files (*.txt)|All (*) " + path);
        QCOMPARE(answerer.texts[2], "Soubor výsledek-日本 již existuje.\nChcete jej nahradit?");
        QCOMPARE(answerer.texts[4], "Výsledek se nepodařilo uložit!");
    }

    // What the box's tooltip and a reader say of the period, and the menu's bracketed copy.
    void period_data()
    {
        QTest::addColumn<QString>("places");
        QTest::addColumn<QString>("division");
        QTest::addColumn<QString>("stated");
        QTest::addColumn<QString>("copied");
        const QString seven = "Perioda: 6 číslic od 1. desetinného místa";
        const QString twelve = "Předperioda: 2 číslice, perioda: 1 číslice od 3. desetinného místa";
        row("shown", "8", "1/12", twelve, "0,08(3)");
        row("negative", "12", "-1/7", seven, "-0,(142857)");
        row("not all shown", "3", "22/7", seven, "");
    }
    void period()
    {
        QFETCH(QString, places);
        QFETCH(QString, division);
        QFETCH(QString, stated);
        setPlaces(places);
        QGuiApplication::clipboard()->clear();
        divide(division.section('/', 0, 0), division.section('/', 1));
        QTRY_COMPARE(box()->toolTip(), stated);
        QCOMPARE(box()->accessibleDescription(), stated);
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
