#include "BuildConfig.h"
#include "CatalogueText.h"
#include "DecimalPlacesText.h"
#include "DivisionEngine.h"
#include "Form1.h"
#include "ResultBox.h"
#include "ResultText.h"
#include "SavedResult.h"

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
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// Messages 103 and 104 in Windows-1250, as every saved file starts.
const QByteArray header = "Vypo\xE8\xEDt\xE1no v programu Zlomkar\r\nTento program si m\xF9\x9E"
                          "ete zdarma st\xE1hnout na www." ZLOMKAR_WEB_DOMAIN "\r\n\r\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<none>";
}

// Answers dialogs, noting a message box's "title|text" ("|!" for the warning icon), the prompt's
// "title|label", where a file dialog starts or the About window's status, and every dialog's
// title and buttons. `input` answers the prompt or file dialog, "<Esc>" cancels them.
struct DialogAnswerer : QObject
{
    QString input;
    QStringList seen, buttons;
    QTimer timer;
    QPointer<QWidget> answered;

    explicit DialogAnswerer(QString input = {})
        : input(std::move(input))
    {
        // Each answer has a timer of its own, so that this one finds a dialog the answer opens.
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (dialog && dialog != answered)
                QTimer::singleShot(1, this,
                    [this, dialog = answered = dialog] { dialog ? answer(dialog) : void(); });
        });
        timer.start(5);
    }
    void answer(QWidget *dialog)
    {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        auto *prompt = qobject_cast<QInputDialog *>(dialog);
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QStringList captions;
        for (auto *button : dialog->findChildren<QPushButton *>())
            captions << button->text();
        buttons << dialog->windowTitle() + ':' + captions.join('|');
        if (box && qobject_cast<QFileDialog *>(box->parentWidget()))
            return QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        seen << (box ? box->windowTitle() + '|' + box->text()
                    + (box->icon() == QMessageBox::Warning ? "|!" : "")
                : prompt ? prompt->windowTitle() + '|' + prompt->labelText()
                : files  ? files->selectedFiles().value(0)
                         : dialog->findChild<QLabel *>("Label15")->text());
        auto *field = dialog->findChild<QLineEdit *>(files ? "fileNameEdit" : "");
        if (!box && !field)
            return void(dialog->close());
        if (field) // set, not typed: a completion would take the Return
            field->setText(input == "<Esc>" ? "" : input);
        QTest::keyClick(field ? field : dialog, input == "<Esc>" ? Qt::Key_Escape : Qt::Key_Return);
    }
};

void typeInto(QLineEdit *edit, const QString &text)
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

    void open(qint64 digitLimit = DivisionEngine::maximumDigits)
    {
        m_form = std::make_unique<Form1>(
            ",", AboutSetup { "http://127.0.0.1:1/", m_folder->path(), {}, {} }, digitLimit);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    QWidget *child(const QString &name) const { return m_form->findChild<QWidget *>(name); }
    QString result() const { return m_form->findChild<ResultBox *>()->text(); }
    void divide(const QString &dividend, const QString &divisor)
    {
        typeInto(m_form->findChild<QLineEdit *>("Text2"), divisor);
        typeInto(m_form->findChild<QLineEdit *>("Text1"), dividend + '\r');
    }
    // Shortcuts reach only the active window, and offscreen nothing gives it back after a dialog.
    void press(const QKeySequence &keys, const QString &focus = "Text1")
    {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        child(focus)->setFocus();
        QTest::keySequence(child(focus), keys);
    }

private slots:
    void init();
    void startState();
    void commands();
    void decimalPlaces();
    void duringARun();
    void resultBox();
    void rowEdges_data();
    void rowEdges();
    void readAloud_data();
    void readAloud();
    void digitLimit();
    void saving_data();
    void saving();
    void endingDuringARun_data();
    void endingDuringARun();
};

void MainWindowTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    open();
}

// The load step's captions, then Tab through the controls with their accessible names.
void MainWindowTest::startState()
{
    QStringList seen;
    for (QAction *menu : m_form->menuBar()->actions())
        for (QAction *item : menu->menu()->actions())
            seen << menu->text() + '>' + item->text();
    for (int i = 0; i < 7; ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
        seen << QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                    ->text(QAccessible::Name);
    QCOMPARE(seen.join(';'),
        "Soubor>Uložit výsledek...;Soubor>;Soubor>Konec;Nastavení>Počet desetinných "
        "míst...;Nápověda>Jak používat "
        "tento program;Nápověda>O programu;dělenec;dělitel;výsledek;Spustit >>;Zastavit ||;"
        "Nápověda ?;Konec X");
    QVERIFY(QAccessible::queryAccessibleInterface(child("Text3"))->state().readOnly);
    // Resources in a static library are dropped silently when nothing pulls them in.
    QCOMPARE(m_form->windowIcon().availableSizes().size(), 5);
    QCOMPARE(m_form->centralWidget()->size(), QSize(328, 465));
}

void MainWindowTest::commands()
{
    DialogAnswerer answerer;
    QTest::mouseClick(child("Command3"), Qt::LeftButton);
    chooseMenuItem(*m_form, "MenuHelp", "MenuPouziti");
    press(Qt::Key_Return, "Command3"); // Enter clicks the button that has the focus
    press(Qt::Key_F1);
    press(Qt::Key_Escape); // Stop while idle, and typing into the result box, change nothing
    press(QKeySequence("1, Backspace, Ctrl+A, Ctrl+C"), "Text3");
    QCOMPARE(QGuiApplication::clipboard()->text(), "0,625\r\n");
    QCOMPARE(result(), "0,625\r\n");
    divide("", "0");
    QCOMPARE(result() + m_form->findChild<QLineEdit *>("Text1")->text(), message(101) + "0");
    QVERIFY(child("Command1")->isEnabled());
    const QString help = "Zlomkar|" + message(118).replace("\r\n", "\n");
    QCOMPARE(answerer.seen,
        QStringList(
            { help, help, help, "Při stahování došlo k chybě", "Zlomkar|Nulou nelze dělit!|!" }));
}

// The prompt is answered with 2.5, cancelled, answered with 3, and cancelled.
void MainWindowTest::decimalPlaces()
{
    DialogAnswerer answerer;
    for (const char *answer : { "2.5", "<Esc>", "3", "<Esc>" }) {
        answerer.input = answer;
        chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
    }
    QCOMPARE(answerer.seen.last(),
        "Zlomkar|Zadejte počet desetinných míst k vypočítání\nNyní na 3 desetinných míst"
        "\n(0 = \"nekonečno\")");
    QVERIFY(answerer.seen[2].contains(" 2,5 ")); // Cancel kept 2.5
    QCOMPARE(answerer.buttons.first(), "Zlomkar:OK|Zrušit");
    QCOMPARE(m_form->findChild<QLabel *>("Label3")->text(),
        "Počítat na 3 desetinných míst   (0 = \"nekonečno\")");
    divide("22", "7");
    QCOMPARE(result(), "3,142");
    QCOMPARE(DecimalPlacesText::afterAnswer(3, ""), 3);
    QCOMPARE(DecimalPlacesText::afterAnswer(3, "1e39"), 3);
}

// In a yield of 1 / 3: Enter starts nothing, the divisor becomes 7, saving writes the digits so far
// and the operands as they stand, and Esc stops the run there.
void MainWindowTest::duringARun()
{
    QString seen;
    QTimer::singleShot(30, m_form.get(), [&] {
        QVERIFY(!child("Command1")->isEnabled());
        DialogAnswerer answerer(m_folder->filePath("run"));
        typeInto(m_form->findChild<QLineEdit *>("Text2"), "7\r");
        press(QKeySequence::Save);
        seen = result();
        press(Qt::Key_Escape);
    });
    divide("1", "3");
    QVERIFY(seen.startsWith("0,33333") && child("Command1")->isEnabled());
    QTest::qWait(20);
    QCOMPARE(result(), seen);
    // While a run goes on, the result box follows its end.
    const QScrollBar *bar = m_form->findChild<ResultBox *>()->verticalScrollBar();
    QVERIFY(bar->value() == bar->maximum() && bar->maximum() > 0);
    QCOMPARE(contents(m_folder->filePath("run")), header + "1 / 7 = \r\n" + seen.toLatin1());
}

// The result box is a read-only text box for the keyboard, its menu and assistive technology.
void MainWindowTest::resultBox()
{
    auto *box = m_form->findChild<ResultBox *>();
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(box)->textInterface();
    int start = 0, end = 0;
    box->setText(QString(999, '7')); // a row is as many digits as fit between the margins
    const QString row = text->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    const qreal room = box->viewport()->width() - 4;
    QVERIFY(QFontMetricsF(box->font()).horizontalAdvance(row) <= room
        && QFontMetricsF(box->font()).horizontalAdvance(row + '7') > room);
    box->setText("0,12345\r\n67");
    QStringList seen;
    for (const char *keys : { "Right, Right, Shift+Right, Shift+Right", "Shift+End", "Down",
             "Shift+Ctrl+Home", "Ctrl+End, Shift+Left, Shift+Up" }) {
        press(QKeySequence(keys), "Text3");
        text->selection(0, &start, &end);
        seen << QString::number(text->cursorPosition()) + ':' + text->text(start, end);
    }
    QCOMPARE(seen.join(' '), "4:12 7:12345 11: 0:0,12345\r\n67 1:,12345\r\n67");
    QCOMPARE(text->textAtOffset(10, QAccessible::LineBoundary, &start, &end), "67");
    press(Qt::CTRL | Qt::Key_Home, "Text3");
    QTimer::singleShot(50, [&] {
        auto *menu = static_cast<QMenu *>(QApplication::activePopupWidget());
        for (QAction *action : menu->actions())
            seen << action->text() + (action->isEnabled() ? "" : " off");
        QTest::mouseClick(
            menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().last()).center());
    });
    QContextMenuEvent click(
        QContextMenuEvent::Mouse, { 5, 5 }, box->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box->viewport(), &click);
    QCOMPARE(seen.mid(5).join('|'), "&Kopírovat\tCtrl+C off||Vybrat vše\tCtrl+A");
    QCOMPARE(box->selectedText(), box->text());
}

// Keys after a real click on the start of a row of digits that wraps: the caret, the selection and
// the start of the caret's row, counted in rows' lengths.
void MainWindowTest::rowEdges_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("seen");
    QTest::newRow("End twice stays at the row's end") << "End, End"
                                                      << "1 1 1 0";
    QTest::newRow("Home after End") << "End, Home"
                                    << "0 0 0 0";
    QTest::newRow("Shift+End selects the row") << "Shift+End"
                                               << "1 0 1 0";
    QTest::newRow("Shift+Home takes it back") << "Shift+End, Shift+Home"
                                              << "0 0 0 0";
    QTest::newRow("Down from a row's end") << "End, Down"
                                           << "2 2 2 1";
    QTest::newRow("Up from a row's end") << "Down, End, Up"
                                         << "1 1 1 0";
    QTest::newRow("Left to the next row's start") << "End, Right, Left"
                                                  << "1 1 1 1";
    QTest::newRow("Home in the next row") << "Down, Home"
                                          << "1 1 1 1";
    QTest::newRow("click right of a row") << ""
                                          << "1 1 1 0";
}

void MainWindowTest::rowEdges()
{
    QFETCH(QString, keys);
    QFETCH(QString, seen);
    auto *box = m_form->findChild<ResultBox *>();
    box->setText(QString("142857").repeated(50));
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(box)->textInterface();
    int start = 0, end = 0;
    text->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    const double row = end;
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
        { keys.isEmpty() ? box->viewport()->width() - 3 : 3, 5 });
    QTest::keySequence(m_form->windowHandle(), QKeySequence(keys));
    const int caret = text->cursorPosition();
    text->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
    const auto [from, to] = box->caret().selection();
    QCOMPARE(QString("%1 %2 %3 %4").arg(caret / row).arg(from / row).arg(to / row).arg(start / row),
        seen);
}

// What assistive technology reads at an offset, as "start end text"; an offset outside the text
// gives "-1 -1 ".
void MainWindowTest::readAloud_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("seen");
    const QString message = "Chybné zadání => dělení nulou", lines = "0,625\r\n67";
    QTest::newRow("a word") << message << "at word 2"
                            << "0 6 Chybné";
    QTest::newRow("the blank after it") << message << "after word 2"
                                        << "6 7  ";
    QTest::newRow("a number is one word") << "0,142857"
                                          << "at word 8"
                                          << "-1 -1 ";
    QTest::newRow("the word before the end") << "0,142857"
                                             << "before word 8"
                                             << "0 8 0,142857";
    QTest::newRow("a sentence") << "Jedna věta. Druhá."
                                << "at sentence 14"
                                << "12 18 Druhá.";
    QTest::newRow("a paragraph") << lines << "at paragraph 1"
                                 << "0 7 0,625\r\n";
    QTest::newRow("the last paragraph") << lines << "after paragraph 1"
                                        << "7 9 67";
    QTest::newRow("the line at the end") << lines << "at line 9"
                                         << "7 9 67";
    QTest::newRow("a character") << lines << "at char 0"
                                 << "0 1 0";
    QTest::newRow("no character at the end") << lines << "at char 9"
                                             << "-1 -1 ";
    QTest::newRow("before the start") << lines << "at line -1"
                                      << "-1 -1 ";
    QTest::newRow("past the end") << lines << "before paragraph 10"
                                  << "-1 -1 ";
    QTest::newRow("a range from before the start") << lines << "range -5 3"
                                                   << "0,6";
    QTest::newRow("a range backwards") << lines << "range 3 1"
                                       << "";
}

void MainWindowTest::readAloud()
{
    QFETCH(QString, text);
    QFETCH(QString, call);
    auto *box = m_form->findChild<ResultBox *>();
    box->setText(text);
    QAccessibleTextInterface *reader = QAccessible::queryAccessibleInterface(box)->textInterface();
    const QStringList words = call.split(' ');
    int start = words[1].toInt(), end = words[2].toInt(), offset = words.last().toInt();
    const auto boundary = QAccessible::TextBoundaryType(
        QStringList({ "char", "word", "sentence", "paragraph", "line" }).indexOf(words[1]));
    const QString read = words[0] == "range" ? reader->text(start, end)
        : words[0] == "at"                   ? reader->textAtOffset(offset, boundary, &start, &end)
        : words[0] == "before" ? reader->textBeforeOffset(offset, boundary, &start, &end)
                               : reader->textAfterOffset(offset, boundary, &start, &end);
    QTEST(words[0] == "range" ? read : QString("%1 %2 %3").arg(start).arg(end).arg(read), "seen");
    QVERIFY(
        !reader->characterRect(-1).isValid() && !reader->characterRect(box->length()).isValid());
}

void MainWindowTest::digitLimit()
{
    open(50);
    DialogAnswerer answerer(m_folder->filePath("limit"));
    divide("1", "7");
    QCOMPARE(result(), "0," + QString("142857").repeated(9).left(50));
    press(QKeySequence::Save);
    QCOMPARE(contents(m_folder->filePath("limit")), header + "1 / 7 = \r\n" + result().toLatin1());
    QCOMPARE(answerer.seen.first(), "Zlomkar|Výsledek je příliš dlouhý, výpočet byl zastaven.|!");
}

void MainWindowTest::saving_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("before"); // "device": a device node that takes no data
    QTest::addColumn<bool>("saved");
    QTest::newRow("new file, name as typed") << "výsledek-日本" << QByteArray() << true;
    QTest::newRow("longer file replaced whole") << "old" << QByteArray(4096, 'x') << true;
    QTest::newRow("Cancel") << "<Esc>" << QByteArray() << false;
    QTest::newRow("missing folder") << "missing/a" << QByteArray() << false;
    QTest::newRow("full device") << "full" << QByteArray("device") << false;
}

void MainWindowTest::saving()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, before);
    const QString path = m_folder->filePath(name);
    QFETCH(bool, saved);
    if (before == "device" && mknod(qPrintable(path), S_IFCHR | 0666, makedev(1, 7)) != 0)
        QSKIP("making a device node needs root");
    QFile file(path);
    QVERIFY(before.isEmpty() || before == "device"
        || (file.open(QIODevice::WriteOnly) && file.write(before)));
    file.close();
    DialogAnswerer answerer(name == "<Esc>" ? name : path);
    press(QKeySequence::Save);
    answerer.input = "<Esc>";
    press(QKeySequence::Save);

    QCOMPARE(answerer.seen.filter("Zlomkar|").join(';'),
        name != "<Esc>" && !saved ? "Zlomkar|Výsledek se nepodařilo uložit!|!" : "");
    QVERIFY(!saved || answerer.seen.last() == path); // the next save starts there
    // Qt's own texts are Czech whatever the system's language; so is its question before replacing.
    QCOMPARE(answerer.buttons.first(), "Uložit jako:&Uložit|Zrušit");
    QCOMPARE(answerer.buttons.contains("Uložit jako:&Ano|&Ne"), !before.isEmpty());
    struct stat node;
    QCOMPARE(stat(qPrintable(path), &node) == 0 && S_ISCHR(node.st_mode), before == "device");
    if (before != "device")
        QCOMPARE(contents(path),
            saved                  ? header + "5 / 8 = \r\n0,625\r\n"
                : before.isEmpty() ? "<none>"
                                   : before);
    QCOMPARE(QDir(m_folder->path())
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                 .size(),
        int(saved || !before.isEmpty()));
    // A folder is written to directly: the dialog would open it rather than return it.
    QVERIFY(!writeSaveText(m_folder->path(), composeSaveText("", "", ResultText())));
}

void MainWindowTest::endingDuringARun_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : { "button", "menu", "shortcut", "close" })
        QTest::newRow(how) << how;
}

void MainWindowTest::endingDuringARun()
{
    QFETCH(QString, how);
    QProcess probe;
    probe.start(QCoreApplication::applicationFilePath(), { "--quit-probe", how });
    QVERIFY(probe.waitForFinished(10000));
    const QList<QByteArray> left = probe.readAllStandardOutput().split(' ');
    QCOMPARE(left.mid(0, 2), QList<QByteArray>({ "ended", "hidden" }));
    QVERIFY2(left.value(2).toInt() > 10, "the division was running");
}

int runMainWindowTest(int argc, char *argv[])
{
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

// The real main window in a process of its own: 1 / 7 runs without a limit when the program is
// ended by the Quit button, menu or shortcut, or by closing the window. Prints whether the event
// loop ended, whether every window is hidden, and the length of the result.
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
        if (how == "button")
            QTest::mouseClick(form.findChild<QWidget *>("Command4"), Qt::LeftButton);
        else if (how == "menu")
            chooseMenuItem(form, "MenuSoubor", "MenuQuit");
        else if (how == "shortcut")
            QTest::keyClick(dividend, Qt::Key_Q, Qt::ControlModifier);
        else
            form.close();
    });
    const bool ended = QApplication::exec() == 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool hidden
        = std::none_of(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); });
    std::printf("%s %s %lld", ended ? "ended" : "running", hidden ? "hidden" : "shown",
        qint64(form.findChild<ResultBox *>()->text().size()));
    return 0;
}

#include "MainWindowTest.moc"
