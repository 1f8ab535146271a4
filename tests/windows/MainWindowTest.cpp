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
#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>

namespace {

// Messages 103 and 104 in Windows-1250, as a saved file starts.
const QByteArray header = "Vypo\xE8\xEDt\xE1no v programu Zlomkar\r\nTento program si m\xF9\x9E"
                          "ete zdarma st\xE1hnout na www." ZLOMKAR_WEB_DOMAIN "\r\n\r\n";

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

// Off, root too is held to folders' permissions.
void overridePermissions(bool on)
{
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct caps[2];
    syscall(SYS_capget, &header, caps);
    caps->effective = caps->permitted & ~(on ? 0 : 1 << CAP_DAC_OVERRIDE);
    syscall(SYS_capset, &header, caps);
}

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

// Whether anything dark is drawn in `area`.
bool inked(QWidget *widget, const QRect &area)
{
    const QImage image = widget->grab().toImage();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
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
    QAccessibleTextInterface *reader() const
    {
        return QAccessible::queryAccessibleInterface(box())->textInterface();
    }
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
    // The program as it starts: its names, Qt's texts in Czech, numbers in the user's locale.
    void initTestCase()
    {
        const std::unique_ptr<Form1> program = startProgram(*qApp);
        QVERIFY(QTest::qWaitForWindowExposed(program.get()));
        DialogAnswerer answerer("2.5");
        program->findChild<QAction *>("MenuDesMist")->trigger();
        QCOMPARE(QStringList({ program->findChild<QLabel *>("Label3")->text().section(' ', 2, 2),
                     QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                     QGuiApplication::desktopFileName(),
                     QCoreApplication::translate("QFileDialog", "Save As") }),
            QStringList({ "2" + QLocale::system().decimalPoint() + "5", "zlomkar",
                ZLOMKAR_VERSION, ZLOMKAR_APP_ID, "Uložit jako" }));
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
        QCOMPARE(contents(m_folder->filePath("run")), header + "1 / 7 = \r\n" + seen.toLatin1());
    }

    // A result with a line break, read with keys and double clicks.
    void resultBox()
    {
        box()->setText("0,12345\r\n67");
        QStringList seen;
        for (const char *keys : { "Right, Right, Shift+Left, Shift+Left", "Shift+End",
                 "Ctrl+End, Shift+Left, Shift+Up" }) {
            press(QKeySequence(keys), "Text3");
            seen << QString::number(reader()->cursorPosition()) + ':' + box()->selectedText();
        }
        const QPoint first = box()->characterRect(0).center();
        for (const QPoint &at :
            { first, QPoint(200, first.y()), box()->characterRect(9).center(), QPoint(3, 300) }) {
            QTest::mouseDClick(box()->viewport(), Qt::LeftButton, {}, at);
            seen << box()->selectedText();
        }
        QCOMPARE(seen.join('|'), "0:0,|7:12345|1:,12345\r\n67|0,12345|0,12345|67|67");
    }

    // Ink where a character is said to stand, none past the end, scrolled by keys and a reader.
    void ink()
    {
        box()->setText(QString(2000, '8'));
        QWidget *view = box()->viewport();
        press(Qt::CTRL | Qt::Key_End, "Text3");
        const QRect last = box()->characterRect(1999);
        QVERIFY(view->rect().contains(last) && inked(view, last));
        QVERIFY(!inked(view, { last.right() + 4, last.top(), 40, 40 }));
        reader()->scrollToSubstring(0, 1);
        QVERIFY(inked(view, box()->characterRect(0)));
    }

    // On rows of digits, after a click on the first: caret, selection, its row and the first row in
    // view, in rows (P: a page).
    void rowEdges_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("seen");
        for (const auto &[keys, seen] : { std::pair { "End, End", "1 1 1 0 0" },
                 { "End, Home", "0 0 0 0 0" }, { "Shift+End", "1 0 1 0 0" },
                 { "Shift+End, Shift+Home", "0 0 0 0 0" }, { "End, Down", "2 2 2 1 0" },
                 { "Down, End, Up", "1 1 1 0 0" }, { "End, Right, Left", "1 1 1 1 0" },
                 { "PgDown", "P P P P 1" }, { "@click right", "1 1 1 0 0" },
                 { "@drag", "1 0 1 0 0" }, { "End @right button", "1 1 1 0 0" } })
            QTest::newRow(keys) << keys << seen;
    }
    void rowEdges()
    {
        QFETCH(QString, keys);
        QFETCH(QString, seen);
        box()->setText(QString("142857").repeated(1000));
        QWidget *view = box()->viewport();
        int start = 0, end = 0;
        reader()->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
        const double row = end, page = box()->verticalScrollBar()->pageStep();
        const QPoint rowStart(3, 5), rowEnd(view->width() - 3, 5);
        QTest::mouseClick(view, Qt::LeftButton, {}, keys.contains("click") ? rowEnd : rowStart);
        QTest::keySequence(m_form->windowHandle(), QKeySequence(keys.section('@', 0, 0).trimmed()));
        const auto button = keys.contains("drag") ? Qt::LeftButton : Qt::RightButton;
        QMouseEvent move(QEvent::MouseMove, rowEnd, view->mapToGlobal(rowEnd), {}, button, {});
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, button, {}, rowStart);
        const int caret = reader()->cursorPosition();
        reader()->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
        const auto [from, to] = box()->caret().selection();
        QCOMPARE(QString::asprintf("%g %g %g %g %g", caret / row, from / row, to / row, start / row,
                     box()->verticalScrollBar()->value() / page),
            seen.replace("P", QString::number(page)));
    }

    // What assistive technology reads at an offset, as "start end text".
    void readAloud_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("seen");
        const QString message = "Chybné zadání => dělení nulou", lines = "0,625\r\n67";
        for (const auto &[text, call, seen] : { std::tuple { message, "at word 2", "0 6 Chybné" },
                 { "0,142857", "before word 8", "0 8 0,142857" },
                 { "Jedna věta. Druhá.", "at sentence 14", "12 18 Druhá." },
                 { lines, "at paragraph 1", "0 7 0,625\r\n" }, { lines, "at line 9", "7 9 67" },
                 { lines, "at paragraph 9", "7 9 67" }, { "a😀b", "at char 2", "1 3 😀" } })
            QTest::newRow(call) << text << call << seen;
    }
    void readAloud()
    {
        QFETCH(QString, text);
        QFETCH(QString, call);
        box()->setText(text);
        const QStringList words = call.split(' ');
        const auto boundary = QAccessible::TextBoundaryType(
            QStringList({ "char", "word", "sentence", "paragraph", "line" }).indexOf(words[1]));
        int start = 0, end = 0, offset = words[2].toInt();
        const QString read = words[0] == "at"
            ? reader()->textAtOffset(offset, boundary, &start, &end)
            : reader()->textBeforeOffset(offset, boundary, &start, &end);
        QTEST(QString("%1 %2 %3").arg(start).arg(end).arg(read), "seen");
    }

    // Saving over an older file, to a device, a pipe, a read-only folder, past a size limit.
    void saving_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("saved");
        auto row = [](const char *tag, const QString &name, const char *setup, bool saved) {
            QTest::newRow(tag) << name << setup << saved;
        };
        row("new file, name as typed", "výsledek-日本", "", true);
        row("longer file replaced whole", "old", "older", true);
        row("missing folder", "missing/a", "", false);
        row("full device", "full", "device", false);
        row("pipe without a reader", "pipe", "pipe", false);
        row("writable file in a read-only folder", "folder/a", "older", true);
        row("file size limit", "old", "limit", false);
    }
    void saving()
    {
        QFETCH(QString, name);
        QFETCH(QString, setup);
        QFETCH(bool, saved);
        const QString path = m_folder->filePath(name), folder = QFileInfo(path).path();
        const QByteArray older(4096, 'x');
        const bool special = setup == "device" || setup == "pipe",
                   kept = setup == "older" || setup == "limit";
        if (setup == "device" && mknod(qPrintable(path), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("making a device node needs root");
        QVERIFY(setup != "pipe" || mkfifo(qPrintable(path), 0666) == 0);
        QDir().mkpath(name.startsWith("folder/") ? folder : m_folder->path());
        QFile file(path);
        QVERIFY(!kept || (file.open(QIODevice::WriteOnly) && file.write(older)));
        file.close();
        if (name.startsWith("folder/"))
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        overridePermissions(false);
        const rlimit unlimited { RLIM_INFINITY, RLIM_INFINITY }, small { 100, RLIM_INFINITY };
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, setup == "limit" ? &small : &unlimited);
        DialogAnswerer answerer(path);
        QElapsedTimer saving;
        saving.start();
        press(QKeySequence::Save);
        overridePermissions(true);
        QVERIFY(setup != "pipe" || saving.elapsed() < 1000);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        answerer.input = "<Esc>";
        press(QKeySequence::Save);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(answerer.seen.filter("Zlomkar|").join(';'),
            !saved ? "Zlomkar|Výsledek se nepodařilo uložit!|!" : "");
        // "All" shows every file; the next save starts where this one wrote.
        const QString filters = "TeXT files (*.txt)|All (*) ";
        QVERIFY(answerer.seen[0].startsWith(filters));
        QVERIFY(!saved || answerer.seen.last() == filters + path);
        // Qt's texts are Czech in any language, so is its question before replacing.
        QCOMPARE(answerer.buttons[0], "Uložit jako:&Uložit|Zrušit");
        QCOMPARE(answerer.buttons.contains("Uložit jako:&Ano|&Ne"), !setup.isEmpty());
        struct stat node;
        QCOMPARE(stat(qPrintable(path), &node) == 0 && !S_ISREG(node.st_mode), special);
        if (!special) // reading them would wait for a writer, or never end
            QCOMPARE(contents(path),
                saved      ? header + "5 / 8 = \r\n0,625\r\n"
                    : kept ? older
                           : "<none>");
        QCOMPARE(
            QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
            int(saved || !setup.isEmpty()));
    }

    // Runs and About windows, repeated, leave no file open and hold no memory.
    void noLeaks()
    {
        DialogAnswerer answerer("100000");
        chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
        auto state = [] {
            QFile status("/proc/self/statm");
            status.open(QIODevice::ReadOnly);
            return std::pair(QDir("/proc/self/fd").count(), status.readAll().split(' ')[1].toLong());
        };
        auto rounds = [&] {
            for (int i = 0; i < 20; ++i, press(Qt::Key_F1))
                divide("1", "7");
            return state();
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
