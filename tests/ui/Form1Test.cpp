#include "Form1.h"

#include "LocalHttpServer.h"
#include "MessageCatalogue.h"
#include "ModalAnswer.h"
#include "ResultBox.h"
#include "WindowDriver.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>

using WindowDriver::chooseMenuItem;
using WindowDriver::typeInto;

namespace {

QString message(int number)
{
    return QStringView(MessageCatalogue::text(number)).toString();
}

// How a message box shows a catalogue text: CR LF pairs become line breaks.
QString shown(const QString &text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString label3For(const QString &number)
{
    return message(117) + number + message(115) + QStringLiteral("   ") + message(116);
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void startState();
    void tabOrderAndEnterOnAButton();
    void workedExamples_data();
    void workedExamples();
    void escapeStopsARun();
    void enterDuringARunStartsNothing();
    void endingDuringARunEndsTheProcess_data();
    void endingDuringARunEndsTheProcess();
    void helpBox_data();
    void helpBox();
    void about_data();
    void about();
    void decimalPlacesPrompt_data();
    void decimalPlacesPrompt();
    void resultBoxTakesNoTyping();

private:
    Form1 &openWindow(const QString &decimalSeparator = QStringLiteral(","));
    template<typename Widget> Widget *child(const char *name) const
    {
        return m_form->findChild<Widget *>(QLatin1String(name));
    }
    QLineEdit *text1() const { return child<QLineEdit>("Text1"); }
    QLineEdit *text2() const { return child<QLineEdit>("Text2"); }
    ResultBox *text3() const { return child<ResultBox>("Text3"); }
    QPushButton *start() const { return child<QPushButton>("Command1"); }

    // Starts an unlimited run of dividend / divisor with Enter and runs `duringRun` inside it once
    // some digits exist; returns when the run has ended.
    void runWith(const QString &dividend, const QString &divisor, std::function<void()> duringRun);
    void answerPrompt(const QString &answer, QString *promptSeen = nullptr);

    std::unique_ptr<Form1> m_form;
};

Form1 &Form1Test::openWindow(const QString &decimalSeparator)
{
    m_form = std::make_unique<Form1>(decimalSeparator);
    AboutSetup offline = AboutSetup::forThisProgram();
    offline.noticeAddress = LocalHttpServer::closedPortUrl(QStringLiteral("/update.txt"));
    m_form->setAboutSetup(offline);
    m_form->show();
    m_form->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(m_form.get());
    return *m_form;
}

void Form1Test::cleanup()
{
    m_form.reset();
}

void Form1Test::runWith(
    const QString &dividend, const QString &divisor, std::function<void()> duringRun)
{
    typeInto(text1(), dividend);
    typeInto(text2(), divisor);
    QTimer::singleShot(30, m_form.get(), [this, duringRun] {
        QVERIFY(text3()->text().size() > 2);
        duringRun();
    });
    QTest::keyClick(text1(), Qt::Key_Return);
}

void Form1Test::answerPrompt(const QString &answer, QString *promptSeen)
{
    ModalAnswer answering([&](QWidget *dialog) {
        auto *box = qobject_cast<QInputDialog *>(dialog);
        auto *field = dialog->findChild<QLineEdit *>();
        if (!box || !field) {
            dialog->close();
            return;
        }
        if (promptSeen)
            *promptSeen = box->windowTitle() + QLatin1Char('|') + box->labelText()
                + QLatin1Char('|') + field->text();
        if (answer == QLatin1String("<cancel>")) {
            QTest::keyClick(field, Qt::Key_Escape);
            return;
        }
        QTest::keyClicks(field, answer);
        QTest::keyClick(field, Qt::Key_Return);
    });
    chooseMenuItem(*m_form, "MenuSetup", "MenuDesMist");
    QVERIFY(answering.answered());
}

void Form1Test::startState()
{
    Form1 &form = openWindow();
    QCOMPARE(form.windowTitle(), QStringLiteral("Zlomkar"));
    QCOMPARE(text1()->text(), QStringLiteral("5"));
    QCOMPARE(text2()->text(), QStringLiteral("8"));
    QCOMPARE(text3()->text(), QStringLiteral("0,625\r\n"));
    QVERIFY(start()->isEnabled());
    QCOMPARE(QApplication::focusWidget(), text1());
    QCOMPARE(child<QLabel>("Label3")->text(), label3For(QStringLiteral("0")));

    const std::pair<const char *, int> menus[]
        = { { "MenuSoubor", 105 }, { "MenuSetup", 108 }, { "MenuHelp", 110 } };
    for (const auto &[name, number] : menus)
        QCOMPARE(child<QMenu>(name)->title(), message(number));
    const std::pair<const char *, int> items[] = { { "MenuSave", 106 }, { "MenuQuit", 107 },
        { "MenuDesMist", 109 }, { "MenuPouziti", 111 }, { "MenuAbout", 112 } };
    for (const auto &[name, number] : items)
        QCOMPARE(child<QAction>(name)->text(), message(number));
    const QList<QAction *> fileItems = child<QMenu>("MenuSoubor")->actions();
    QCOMPARE(fileItems.size(), 3);
    QVERIFY(fileItems[1]->isSeparator());
}

// Tab walks the controls in their designed order; Enter on a focused button clicks that button,
// not Start.
void Form1Test::tabOrderAndEnterOnAButton()
{
    openWindow();
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order,
        QStringList({ "Text2", "Text3", "Command1", "Command2", "Command3", "Command4", "Text1" }));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    MessageBoxSeen seen;
    const auto answer = answerMessageBox(seen);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(seen.text, shown(message(118)));
    QCOMPARE(text3()->text(), QStringLiteral("0,625\r\n"));
}

void Form1Test::workedExamples_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("dividend");
    QTest::addColumn<QString>("divisor");
    QTest::addColumn<QString>("places");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("dividendShown");
    QTest::addColumn<int>("warning");

    for (const QString &separator : { QStringLiteral(","), QStringLiteral(".") }) {
        const QByteArray locale = separator == QLatin1String(",") ? " (czech)" : " (english)";
        QTest::newRow("terminating" + locale) << separator << "5"
                                              << "8"
                                              << ""
                                              << "0,625"
                                              << "5" << 0;
        QTest::newRow("limit reached" + locale) << separator << "22"
                                                << "7"
                                                << "3"
                                                << "3,142"
                                                << "22" << 0;
        QTest::newRow("whole quotient" + locale) << separator << "10"
                                                 << "5"
                                                 << ""
                                                 << "2"
                                                 << "10" << 0;
        QTest::newRow("empty dividend" + locale) << separator << ""
                                                 << "8"
                                                 << ""
                                                 << "0"
                                                 << "0" << 0;
        QTest::newRow("zero divisor" + locale) << separator << "7"
                                               << "0"
                                               << "" << message(101) << "7" << 102;
        QTest::newRow("out of range" + locale)
            << separator << "1500000000000000"
            << "4"
            << "" << message(121) << QStringLiteral("1") + separator + QStringLiteral("5E+15")
            << 122;
    }
}

void Form1Test::workedExamples()
{
    QFETCH(QString, separator);
    QFETCH(QString, dividend);
    QFETCH(QString, divisor);
    QFETCH(QString, places);
    QFETCH(QString, result);
    QFETCH(QString, dividendShown);
    QFETCH(int, warning);

    openWindow(separator);
    if (!places.isEmpty())
        answerPrompt(places);
    typeInto(text1(), dividend);
    typeInto(text2(), divisor);
    MessageBoxSeen seen;
    const auto answer = answerMessageBox(seen);

    QTest::keyClick(text1(), Qt::Key_Return);

    QCOMPARE(text3()->text(), result);
    QCOMPARE(text1()->text(), dividendShown);
    QVERIFY(start()->isEnabled());
    if (warning) {
        QCOMPARE(seen.title, QStringLiteral("Zlomkar"));
        QCOMPARE(seen.text, message(warning));
        QCOMPARE(seen.icon, int(QMessageBox::Warning));
    } else {
        QVERIFY(seen.text.isEmpty());
    }
}

void Form1Test::escapeStopsARun()
{
    openWindow();
    runWith(QStringLiteral("1"), QStringLiteral("3"), [this] {
        QVERIFY(!start()->isEnabled());
        QTest::keyClick(text1(), Qt::Key_Escape);
    });
    QVERIFY(start()->isEnabled());
    const QString stopped = text3()->text();
    QVERIFY(stopped.startsWith(QStringLiteral("0,333")));
    QTest::qWait(30);
    QCOMPARE(text3()->text(), stopped);
}

void Form1Test::enterDuringARunStartsNothing()
{
    openWindow();
    runWith(QStringLiteral("1"), QStringLiteral("3"), [this] {
        typeInto(text2(), QStringLiteral("7"));
        QTest::keyClick(text2(), Qt::Key_Return);
        QTimer::singleShot(20, m_form.get(), [this] { QTest::keyClick(text1(), Qt::Key_Escape); });
    });
    QVERIFY(text3()->text().startsWith(QStringLiteral("0,33333")));
    QCOMPARE(text2()->text(), QStringLiteral("7"));
}

void Form1Test::endingDuringARunEndsTheProcess_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : { "button", "menu", "shortcut", "close" })
        QTest::newRow(how) << how;
}

void Form1Test::endingDuringARunEndsTheProcess()
{
    QFETCH(QString, how);
    QProcess probe;
    probe.start(QStringLiteral(QUIT_PROBE), { how });
    QVERIFY(probe.waitForFinished(10000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    const QString report = QString::fromLatin1(probe.readAllStandardOutput());
    const QRegularExpressionMatch seen
        = QRegularExpression(QStringLiteral("status 0 visible 0 digits (\\d+)")).match(report);
    QVERIFY2(seen.hasMatch(), qPrintable(report));
    QVERIFY2(seen.captured(1).toLongLong() > 10, "the division was running");
}

void Form1Test::helpBox_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("button") << false;
    QTest::newRow("menu") << true;
}

void Form1Test::helpBox()
{
    QFETCH(bool, fromMenu);
    openWindow();
    MessageBoxSeen seen;
    const auto answer = answerMessageBox(seen);
    if (fromMenu)
        chooseMenuItem(*m_form, "MenuHelp", "MenuPouziti");
    else
        QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(seen.title, QStringLiteral("Zlomkar"));
    QCOMPARE(seen.text, shown(message(118)));
    QCOMPARE(seen.icon, int(QMessageBox::NoIcon));
}

void Form1Test::about_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("F1") << false;
    QTest::newRow("menu") << true;
}

void Form1Test::about()
{
    QFETCH(bool, fromMenu);
    openWindow();
    QString seen;
    ModalAnswer closing([&seen](QWidget *dialog) {
        seen = dialog->objectName() + QLatin1Char('|') + dialog->windowTitle();
        if (dialog->parentWidget())
            seen += QStringLiteral("|owned");
        dialog->close();
    });
    if (fromMenu)
        chooseMenuItem(*m_form, "MenuHelp", "MenuAbout");
    else
        QTest::keyClick(text1(), Qt::Key_F1);
    QCOMPARE(seen, QStringLiteral("Form2|O programu"));
}

void Form1Test::decimalPlacesPrompt_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");

    // Every row starts from 3 decimal places.
    for (const QString &separator : { QStringLiteral(","), QStringLiteral(".") }) {
        const QByteArray locale = separator == QLatin1String(",") ? " (czech)" : " (english)";
        auto row = [&](const char *name, const QString &answer, QString shownNumber) {
            QTest::newRow(name + locale)
                << separator << answer << shownNumber.replace(QLatin1Char('.'), separator);
        };
        row("cancel keeps the value", QStringLiteral("<cancel>"), QStringLiteral("3"));
        row("empty answer keeps the value", QString(), QStringLiteral("3"));
        row("whole number", QStringLiteral("5"), QStringLiteral("5"));
        row("negative number", QStringLiteral("-5"), QStringLiteral("5"));
        row("negative zero", QStringLiteral("-0"), QStringLiteral("0"));
        row("point fraction", QStringLiteral("2.5"), QStringLiteral("2.5"));
        row("comma ends the number", QStringLiteral("2,5"), QStringLiteral("2"));
        row("blank between digits", QStringLiteral("1 2"), QStringLiteral("12"));
        row("exponent", QStringLiteral("1e3"), QStringLiteral("1000"));
        row("no number", QStringLiteral("abc"), QStringLiteral("0"));
        row("blanks only", QStringLiteral("   "), QStringLiteral("0"));
        row("rounded to float", QStringLiteral("16777217"), QStringLiteral("1.677722E+07"));
        row("beyond float keeps the value", QStringLiteral("1e39"), QStringLiteral("3"));
        row("beyond double keeps the value", QStringLiteral("1e400"), QStringLiteral("3"));
    }
}

void Form1Test::decimalPlacesPrompt()
{
    QFETCH(QString, separator);
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    openWindow(separator);

    QString firstPrompt;
    answerPrompt(QStringLiteral("3"), &firstPrompt);
    QCOMPARE(firstPrompt,
        QStringLiteral("Zlomkar|") + message(113) + QStringLiteral("\n") + message(114)
            + QStringLiteral("0") + message(115) + QStringLiteral("\n") + message(116)
            + QStringLiteral("|"));
    answerPrompt(answer);
    QCOMPARE(child<QLabel>("Label3")->text(), label3For(shown));

    QString nextPrompt;
    answerPrompt(QStringLiteral("<cancel>"), &nextPrompt);
    QVERIFY2(nextPrompt.contains(message(114) + shown + message(115)), qPrintable(nextPrompt));
}

void Form1Test::resultBoxTakesNoTyping()
{
    openWindow();
    QTest::mouseClick(text3()->viewport(), Qt::LeftButton);
    QTest::keyClicks(text3(), QStringLiteral("12a"));
    QTest::keyClick(text3(), Qt::Key_Backspace);
    QTest::keyClick(text3(), Qt::Key_Delete);
    QCOMPARE(text3()->text(), QStringLiteral("0,625\r\n"));
}

int runForm1Tests(int argc, char *argv[])
{
    Form1Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Form1Test.moc"
