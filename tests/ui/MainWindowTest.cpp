#include "BuildConfig.h"
#include "DivisionEngine.h"
#include "Form1.h"
#include "ResultBox.h"

#include <QAccessible>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
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
// "title|label", a file dialog's filters and where it starts ("listed" when its file shows under
// the last filter) or the About window's status, and every dialog's title and buttons. `input`
// answers the prompt or file dialog, "<Esc>" cancels them.
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
        bool listed = false;
        if (files && QFileInfo(input).isFile()) {
            files->setDirectory(QFileInfo(input).path());
            files->selectNameFilter(files->nameFilters().last());
            const auto *view = files->findChild<QListView *>("listView");
            listed = QTest::qWaitFor([&] {
                return !view->model()
                            ->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                                QFileInfo(input).fileName(), 1, Qt::MatchExactly)
                            .isEmpty();
            });
        }
        seen << (box ? box->windowTitle() + '|' + box->text()
                    + (box->icon() == QMessageBox::Warning ? "|!" : "")
                : prompt ? prompt->windowTitle() + '|' + prompt->labelText()
                : files  ? files->nameFilters().join('|') + ' ' + files->selectedFiles().value(0)
                    + (listed ? " listed" : "")
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

// Whether anything darker than the background is drawn in `area` of the widget.
bool inked(QWidget *widget, const QRect &area)
{
    const QImage image = widget->grab().toImage();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

QString placesLabel(const QString &places)
{
    return "Počítat na " + places + " desetinných míst   (0 = \"nekonečno\")";
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
    ResultBox *box() const { return m_form->findChild<ResultBox *>(); }
    QAccessibleTextInterface *reader() const
    {
        return QAccessible::queryAccessibleInterface(box())->textInterface();
    }
    QString result() const { return box()->text(); }
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
    void decimalPlaces_data();
    void decimalPlaces();
    void duringARun();
    void resultBox();
    void ink();
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

// The load step's captions and label, then Tab through the controls with their accessible names.
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
        "míst...;Nápověda>Jak používat tento program;Nápověda>O programu;dělenec;dělitel;"
        "výsledek;Spustit >>;Zastavit ||;Nápověda ?;Konec X");
    auto *places = m_form->findChild<QLabel *>("Label3");
    QCOMPARE(places->text(), placesLabel("0"));
    QCOMPARE(places->width(), places->sizeHint().width());
    const QAccessible::State state = QAccessible::queryAccessibleInterface(box())->state();
    QVERIFY(state.readOnly && state.multiLine && state.selectableText);
    // Resources in a static library are dropped silently when nothing pulls them in.
    QCOMPARE(m_form->windowIcon().availableSizes().size(), 5);
}

// Help by button, menu and Enter on the focused button, About by F1, Stop and typing into the
// result box while idle, the prompt, a limit of places, and a zero divisor.
void MainWindowTest::commands()
{
    DialogAnswerer answerer("3");
    QTest::mouseClick(child("Command3"), Qt::LeftButton);
    chooseMenuItem(*m_form, "MenuHelp", "MenuPouziti");
    press(Qt::Key_Return, "Command3");
    press(Qt::Key_F1);
    press(Qt::Key_Escape);
    press(QKeySequence("1, Backspace, Ctrl+A, Ctrl+C"), "Text3");
    QCOMPARE(QGuiApplication::clipboard()->text(), "0,625\r\n");
    QCOMPARE(result(), "0,625\r\n");
    chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
    divide("22", "7");
    QCOMPARE(result(), "3,142");
    divide("2.9", " 0x");
    QCOMPARE(result(), "Chybné zadání => dělení nulou");
    QCOMPARE(m_form->findChild<QLineEdit *>("Text1")->text()
            + m_form->findChild<QLineEdit *>("Text2")->text(),
        "20");
    QVERIFY(child("Command1")->isEnabled());
    const QString help = "Zlomkar|Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno "
                         "desetinných míst\n\nV \"Nastavení\" > \"Počet des. míst\" zadejte počet "
                         "des. míst na které má být příklad vypočítán\nZadejte čísla a klikněte "
                         "na tlačítko \"Spustit\"\n\nPřerušit počítní můžete kdykoliv tlačítkem "
                         "\"Zastavit\"\n\nVýsledek si můžete uložit do textového souboru přes "
                         "\"Soubor\" > \"Uložit výsledek\"\n\n\nwww." ZLOMKAR_WEB_DOMAIN;
    QCOMPARE(answerer.seen,
        QStringList({ help, help, help, "Při stahování došlo k chybě",
            "Zlomkar|Zadejte počet desetinných míst k vypočítání\nNyní na 0 desetinných míst\n"
            "(0 = \"nekonečno\")",
            "Zlomkar|Nulou nelze dělit!|!" }));
    QCOMPARE(answerer.buttons[4], "Zlomkar:OK|Zrušit");
}

// The prompt answered with 3, then with the row's answer: the places the label shows.
void MainWindowTest::decimalPlaces_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("places");
    for (const auto &[answer, places] : { std::pair { "<Esc>", "3" }, { "-4", "4" }, { "   ", "0" },
             { "2,5", "2" }, { "2.5", "2,5" }, { "abc", "0" }, { "1e39", "3" }, { "1 2", "12" } })
        QTest::newRow(answer) << answer << places;
}

void MainWindowTest::decimalPlaces()
{
    DialogAnswerer answerer("3");
    chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
    QFETCH(QString, answer);
    QFETCH(QString, places);
    answerer.input = answer;
    chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
    auto *label = m_form->findChild<QLabel *>("Label3");
    QCOMPARE(label->text(), placesLabel(places));
    QCOMPARE(label->width(), label->sizeHint().width());
}

// In yields of 1 / 3: Enter starts nothing, the divisor becomes 7, saving writes the digits so far
// and the operands as they stand; the box follows the end until the user scrolls it up, and then
// stays there; Esc stops the run.
void MainWindowTest::duringARun()
{
    QString seen;
    QScrollBar *bar = box()->verticalScrollBar();
    int scrolled = 0;
    QTimer::singleShot(30, m_form.get(), [&] {
        QVERIFY(!child("Command1")->isEnabled());
        DialogAnswerer answerer(m_folder->filePath("run"));
        typeInto(m_form->findChild<QLineEdit *>("Text2"), "7\r");
        press(QKeySequence::Save);
        seen = result();
        QVERIFY(bar->value() == bar->maximum() && bar->maximum() > 0);
        bar->setValue(scrolled = bar->maximum() / 2);
        QTimer::singleShot(50, m_form.get(), [&] { press(Qt::Key_Escape); });
    });
    divide("1", "3");
    QVERIFY(seen.startsWith("0,33333") && child("Command1")->isEnabled());
    QVERIFY(bar->value() == scrolled && bar->maximum() > 2 * scrolled + 1);
    QCOMPARE(contents(m_folder->filePath("run")), header + "1 / 7 = \r\n" + seen.toLatin1());
}

// A result with a line break, read with keys, double clicks and the menu.
void MainWindowTest::resultBox()
{
    int start = 0, end = 0;
    box()->setText(QString(999, '7')); // a row is as many digits as fit between the margins
    const QString row = reader()->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    const qreal room = box()->viewport()->width() - 4;
    QVERIFY(QFontMetricsF(box()->font()).horizontalAdvance(row) <= room
        && QFontMetricsF(box()->font()).horizontalAdvance(row + '7') > room);
    box()->setText("0,12345\r\n67");
    QStringList seen;
    for (const char *keys : { "Right, Right, Shift+Right, Shift+Right", "Shift+End", "Down",
             "Shift+Ctrl+Home", "Ctrl+End, Shift+Left, Shift+Up" }) {
        press(QKeySequence(keys), "Text3");
        seen << QString::number(reader()->cursorPosition()) + ':' + box()->selectedText();
    }
    const QRect first = box()->characterRect(0), last = box()->characterRect(9);
    for (const QPoint &at :
        { first.center(), QPoint(int(room), first.center().y()), last.center() }) {
        QTest::mouseDClick(box()->viewport(), Qt::LeftButton, {}, at);
        seen << box()->selectedText();
    }
    QCOMPARE(seen.join(' '), "4:12 7:12345 11: 0:0,12345\r\n67 1:,12345\r\n67 0,12345 0,12345 67");
    QTimer::singleShot(50, [&] {
        auto *menu = static_cast<QMenu *>(QApplication::activePopupWidget());
        for (QAction *action : menu->actions())
            seen << action->text() + (action->isEnabled() ? "" : " off");
        QTest::mouseClick(
            menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().last()).center());
    });
    QTest::mouseClick(box()->viewport(), Qt::LeftButton, {}, first.center());
    QContextMenuEvent click(
        QContextMenuEvent::Mouse, first.center(), box()->viewport()->mapToGlobal(first.center()));
    QApplication::sendEvent(box()->viewport(), &click);
    QCOMPARE(seen.mid(8).join('|'), "&Kopírovat\tCtrl+C off||Vybrat vše\tCtrl+A");
    QCOMPARE(box()->selectedText(), box()->text());
}

// Ink where a character is said to stand, and none past the end of the text, before and after
// assistive technology scrolls to the end.
void MainWindowTest::ink()
{
    box()->setText(QString(2000, '8'));
    QWidget *view = box()->viewport();
    QVERIFY(inked(view, box()->characterRect(0)) && box()->verticalScrollBar()->value() == 0);
    QVERIFY(!box()->characterRect(2000).isValid());
    reader()->scrollToSubstring(1999, 2000);
    const QRect last = box()->characterRect(1999);
    QVERIFY(view->rect().contains(last) && inked(view, last));
    QVERIFY(!inked(view, { last.right() + 2, last.top(), 40, view->height() - last.top() }));
    QVERIFY(!inked(view, { 0, last.bottom() + 2, last.right(), view->height() - last.bottom() }));
}

// Keys, clicks and a drag on a row of digits that wraps, after a click on its start: the caret,
// the selection and the start of the caret's row, in rows' lengths (P: rows in a page).
void MainWindowTest::rowEdges_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("seen");
    auto row = [](const char *tag, const char *keys, const char *seen) {
        QTest::newRow(tag) << keys << seen;
    };
    row("End twice stays at the row's end", "End, End", "1 1 1 0");
    row("Home after End", "End, Home", "0 0 0 0");
    row("Shift+End selects the row", "Shift+End", "1 0 1 0");
    row("Shift+Home takes it back", "Shift+End, Shift+Home", "0 0 0 0");
    row("Down from a row's end", "End, Down", "2 2 2 1");
    row("Up from a row's end", "Down, End, Up", "1 1 1 0");
    row("Left to the next row's start", "End, Right, Left", "1 1 1 1");
    row("Home in the next row", "Down, Home", "1 1 1 1");
    row("PageDown", "PgDown", "P P P P");
    row("click right of a row", "@end", "1 1 1 0");
    row("drag right of a row", "@drag", "1 0 1 0");
    row("the right button moves nothing", "End @right", "1 1 1 0");
}

void MainWindowTest::rowEdges()
{
    QFETCH(QString, keys);
    QFETCH(QString, seen);
    box()->setText(QString("142857").repeated(1000));
    QWidget *view = box()->viewport();
    int start = 0, end = 0;
    reader()->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    const double row = end;
    const QPoint rowStart(3, 5), rowEnd(view->width() - 3, 5);
    QTest::mouseClick(view, Qt::LeftButton, {}, keys == "@end" ? rowEnd : rowStart);
    QTest::keySequence(m_form->windowHandle(), QKeySequence(keys.section('@', 0, 0).trimmed()));
    if (keys.endsWith("@drag") || keys.endsWith("@right")) {
        const auto button = keys.endsWith("@drag") ? Qt::LeftButton : Qt::RightButton;
        QMouseEvent move(QEvent::MouseMove, rowEnd, view->mapToGlobal(rowEnd), Qt::NoButton, button,
            Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        button == Qt::LeftButton ? QTest::mouseRelease(view, button, {}, rowEnd)
                                 : QTest::mouseClick(view, button, {}, rowStart);
    }
    const int caret = reader()->cursorPosition();
    reader()->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
    const auto [from, to] = box()->caret().selection();
    QCOMPARE(QString("%1 %2 %3 %4").arg(caret / row).arg(from / row).arg(to / row).arg(start / row),
        seen.replace("P", QString::number(box()->verticalScrollBar()->pageStep())));
    QCOMPARE(box()->verticalScrollBar()->value(),
        keys == "PgDown" ? box()->verticalScrollBar()->pageStep() : 0);
}

// What assistive technology reads, as "start end text" (an offset outside the text gives
// "-1 -1 "), and what it sets: the selection as "start end count", the caret.
void MainWindowTest::readAloud_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("seen");
    const QString message = "Chybné zadání => dělení nulou", lines = "0,625\r\n67";
    auto row = [](const char *tag, const QString &text, const char *call, const char *seen) {
        QTest::newRow(tag) << text << call << seen;
    };
    row("a word", message, "at word 2", "0 6 Chybné");
    row("the blank after it", message, "after word 2", "6 7  ");
    row("a number is one word", "0,142857", "before word 8", "0 8 0,142857");
    row("no word at the end", "0,142857", "at word 8", "-1 -1 ");
    row("a sentence", "Jedna věta. Druhá.", "at sentence 14", "12 18 Druhá.");
    row("a paragraph", lines, "at paragraph 1", "0 7 0,625\r\n");
    row("the last paragraph", lines, "after paragraph 1", "7 9 67");
    row("the line at the end", lines, "at line 9", "7 9 67");
    row("a character", lines, "at char 0", "0 1 0");
    row("no character at the end", lines, "at char 9", "-1 -1 ");
    row("before the start", lines, "at line -1", "-1 -1 ");
    row("past the end", lines, "before paragraph 10", "-1 -1 ");
    row("a range from before the start", lines, "range -5 3", "0,6");
    row("a range backwards", lines, "range 3 1", "");
    row("a selection", lines, "select 2 5", "2 5 1");
    row("a selection past the end", lines, "select 2 10", "0 0 0");
    row("the caret", lines, "caret 9", "9 9 ");
}

void MainWindowTest::readAloud()
{
    QFETCH(QString, text);
    QFETCH(QString, call);
    box()->setText(text);
    QAccessibleTextInterface *reader = this->reader();
    const QStringList words = call.split(' ');
    int start = words[1].toInt(), end = words.last().toInt(), offset = end;
    const auto boundary = QAccessible::TextBoundaryType(
        QStringList({ "char", "word", "sentence", "paragraph", "line" }).indexOf(words[1]));
    QString read;
    if (words[0] == "range")
        read = reader->text(start, end);
    else if (words[0] == "select")
        reader->setSelection(0, start, end), reader->selection(0, &start, &end),
            read = QString::number(reader->selectionCount());
    else if (words[0] == "caret")
        reader->setCursorPosition(offset), start = end = reader->cursorPosition();
    else
        read = words[0] == "at"    ? reader->textAtOffset(offset, boundary, &start, &end)
            : words[0] == "before" ? reader->textBeforeOffset(offset, boundary, &start, &end)
                                   : reader->textAfterOffset(offset, boundary, &start, &end);
    QTEST(words[0] == "range" ? read : QString("%1 %2 %3").arg(start).arg(end).arg(read), "seen");
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

// Saving to a path as the row sets it up: an older longer file, a device that takes no data, a
// pipe nobody reads, a writable file in a folder that is not, or a file size limit that ends the
// write half-way.
void MainWindowTest::saving_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("saved");
    auto row = [](const char *tag, const QString &name, const char *setup, bool saved) {
        QTest::newRow(tag) << name << setup << saved;
    };
    row("new file, name as typed", "výsledek-日本", "", true);
    row("longer file replaced whole, seen under All", "old", "older", true);
    row("Cancel", "<Esc>", "", false);
    row("missing folder", "missing/a", "", false);
    row("full device", "full", "device", false);
    row("pipe without a reader", "pipe", "pipe", false);
    row("writable file in a read-only folder", "folder/a", "older", true);
    row("no room for a temporary name beside it", QString(250, 'n'), "", true);
    row("file size limit", "old", "limit", false);
}

void MainWindowTest::saving()
{
    QFETCH(QString, name);
    QFETCH(QString, setup);
    QFETCH(bool, saved);
    const QString path = m_folder->filePath(name), folder = QFileInfo(path).path();
    const QByteArray older(4096, 'x');
    if (setup == "device" && mknod(qPrintable(path), S_IFCHR | 0666, makedev(1, 7)) != 0)
        QSKIP("making a device node needs root");
    QVERIFY(setup != "pipe" || mkfifo(qPrintable(path), 0666) == 0);
    QVERIFY(!name.startsWith("folder/") || QDir().mkpath(folder));
    QFile file(path);
    QVERIFY(setup == "" || setup == "device" || setup == "pipe"
        || (file.open(QIODevice::WriteOnly) && file.write(older)));
    file.close();
    if (name.startsWith("folder/"))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const rlimit unlimited { RLIM_INFINITY, RLIM_INFINITY }, small { 100, RLIM_INFINITY };
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, setup == "limit" ? &small : &unlimited);
    DialogAnswerer answerer(name == "<Esc>" ? name : path);
    QElapsedTimer saving;
    saving.start();
    press(QKeySequence::Save);
    QVERIFY(setup != "pipe" || saving.elapsed() < 1000);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    answerer.input = "<Esc>";
    press(QKeySequence::Save);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(answerer.seen.filter("Zlomkar|").join(';'),
        name != "<Esc>" && !saved ? "Zlomkar|Výsledek se nepodařilo uložit!|!" : "");
    // A name without a dot shows under "All"; the next save starts where this one wrote.
    const QString filters = "TeXT files (*.txt)|All (*) ";
    QVERIFY(answerer.seen.first().startsWith(filters));
    QCOMPARE(answerer.seen.first().endsWith(" listed"), setup == "older" || setup == "limit");
    QVERIFY(!saved || answerer.seen.last() == filters + path);
    // Qt's own texts are Czech whatever the system's language; so is its question before replacing.
    QCOMPARE(answerer.buttons.first(), "Uložit jako:&Uložit|Zrušit");
    QCOMPARE(answerer.buttons.contains("Uložit jako:&Ano|&Ne"), !setup.isEmpty());
    struct stat node;
    QCOMPARE(stat(qPrintable(path), &node) == 0 && !S_ISREG(node.st_mode),
        setup == "device" || setup == "pipe");
    if (setup != "device" && setup != "pipe")
        QCOMPARE(contents(path),
            saved                 ? header + "5 / 8 = \r\n0,625\r\n"
                : setup.isEmpty() ? "<none>"
                                  : older);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
        int(saved || !setup.isEmpty()));
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
