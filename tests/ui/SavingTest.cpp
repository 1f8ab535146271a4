#include "BuildConfig.h"
#include "Form1.h"
#include "ModalAnswer.h"
#include "ResultBox.h"
#include "SavedResult.h"
#include "WindowDriver.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

// Messages 103 and 104 in Windows-1250, as every saved file starts.
const QByteArray header = "Vypo\xE8\xEDt\xE1no v programu Zlomkar\r\n"
                          "Tento program si m\xF9\x9E"
                          "ete zdarma st\xE1hnout na www." ZLOMKAR_WEB_DOMAIN "\r\n\r\n";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class SavingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startStateIsSavedExactly();
    void operandsAreSavedAsTheyStand();
    void nameIsKeptAsTyped();
    void longerFileIsReplacedWhole();
    void secondSaveStartsFromTheFirstPath();
    void cancelWritesNothing();
    void failedSaveIsReported_data();
    void failedSaveIsReported();
    void directoryTargetFails();
    void saveDuringALongRunWritesEveryDigit();

private:
    // Chooses File > Save result and answers the dialog with `path` typed into its name field
    // (or Esc when `path` is empty). An overwrite question is answered with Yes.
    void save(const QString &path, QString *startedWith = nullptr);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<Form1> m_form;
};

void SavingTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_form = std::make_unique<Form1>(QStringLiteral(","));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void SavingTest::cleanup()
{
    m_form.reset();
    m_folder.reset();
}

void SavingTest::save(const QString &path, QString *startedWith)
{
    ModalAnswer replacing(
        [](QWidget *dialog) {
            return qobject_cast<QMessageBox *>(dialog)
                && qobject_cast<QFileDialog *>(dialog->parentWidget());
        },
        [](QWidget *question) {
            QTest::mouseClick(
                static_cast<QMessageBox *>(question)->button(QMessageBox::Yes), Qt::LeftButton);
        });
    ModalAnswer choosing(
        [](QWidget *dialog) { return qobject_cast<QFileDialog *>(dialog) != nullptr; },
        [&](QWidget *dialog) {
            auto *fileDialog = static_cast<QFileDialog *>(dialog);
            auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (startedWith)
                *startedWith = fileDialog->selectedFiles().value(0);
            if (path.isEmpty()) {
                QTest::keyClick(nameField, Qt::Key_Escape);
                return;
            }
            fileDialog->selectFile(path);
            static_cast<QDialog *>(fileDialog)->accept();
        });
    // The offscreen platform has no window manager to give the window back its focus after a
    // dialog closed; a shortcut only reaches the active window.
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(choosing.answered());
}

void SavingTest::startStateIsSavedExactly()
{
    const QString path = m_folder->filePath(QStringLiteral("result.txt"));
    save(path);
    QCOMPARE(contents(path), header + "5 / 8 = \r\n0,625\r\n");
}

void SavingTest::operandsAreSavedAsTheyStand()
{
    WindowDriver::typeInto(
        m_form->findChild<QLineEdit *>(QStringLiteral("Text1")), QStringLiteral("5x€č"));
    WindowDriver::typeInto(
        m_form->findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("日本"));
    const QString path = m_folder->filePath(QStringLiteral("edited.txt"));
    save(path);
    QCOMPARE(contents(path), header + "5x\x80\xE8 / ?? = \r\n0,625\r\n");
}

// No extension is added, and the name is the file system's business, not the code page's.
void SavingTest::nameIsKeptAsTyped()
{
    const QString name = QStringLiteral("výsledek-日本");
    save(m_folder->filePath(name));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList { name });
    QCOMPARE(contents(m_folder->filePath(name)), header + "5 / 8 = \r\n0,625\r\n");
}

void SavingTest::longerFileIsReplacedWhole()
{
    const QString path = m_folder->filePath(QStringLiteral("old.txt"));
    writeFile(path, QByteArray(4096, 'x'));
    save(path);
    QCOMPARE(contents(path), header + "5 / 8 = \r\n0,625\r\n");
}

void SavingTest::secondSaveStartsFromTheFirstPath()
{
    const QString first = m_folder->filePath(QStringLiteral("first.txt"));
    save(first);
    QString startedWith;
    save(QString(), &startedWith);
    QCOMPARE(startedWith, first);
}

void SavingTest::cancelWritesNothing()
{
    MessageBoxSeen seen;
    const auto answer = answerMessageBox(seen);
    save(QString());
    QTest::qWait(20);
    QVERIFY(seen.text.isEmpty());
    QVERIFY(QDir(m_folder->path()).isEmpty());
}

void SavingTest::failedSaveIsReported_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("reported");
    QTest::newRow("missing folder") << QStringLiteral("missing/result.txt") << true;
    QTest::newRow("full disk") << QStringLiteral("/dev/full") << true;
    // Root may write a read-only file; anyone else gets the failure.
    QTest::newRow("read-only file") << QStringLiteral("read-only.txt") << (geteuid() != 0);
}

void SavingTest::failedSaveIsReported()
{
    QFETCH(QString, target);
    QFETCH(bool, reported);
    const QString path = target.startsWith(QLatin1Char('/')) ? target : m_folder->filePath(target);
    if (target == QLatin1String("read-only.txt")) {
        writeFile(path, "kept");
        QFile::setPermissions(path, QFile::ReadOwner);
    }
    const QByteArray before = QFile::exists(path) && QFileInfo(path).isFile() ? contents(path) : "";

    MessageBoxSeen seen;
    const auto answer = answerMessageBox(seen);
    save(path);

    if (reported) {
        QVERIFY(answer->answered());
        QCOMPARE(seen.text, QStringLiteral("Výsledek se nepodařilo uložit!"));
        QCOMPARE(seen.icon, int(QMessageBox::Warning));
        if (QFileInfo(path).isFile())
            QCOMPARE(contents(path), before);
    } else {
        QCOMPARE(contents(path), header + "5 / 8 = \r\n0,625\r\n");
    }
    struct stat device
    {
    };
    QVERIFY(stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden),
        QFile::exists(m_folder->filePath(QStringLiteral("read-only.txt")))
            ? QStringList { "read-only.txt" }
            : QStringList {});
}

// The dialog opens a folder rather than returning it, so this one goes to the writer directly.
void SavingTest::directoryTargetFails()
{
    QVERIFY(!writeSaveText(m_folder->path(), QStringLiteral("x")));
    QVERIFY(QFileInfo(m_folder->path()).isDir());
}

void SavingTest::saveDuringALongRunWritesEveryDigit()
{
    auto *dividend = m_form->findChild<QLineEdit *>(QStringLiteral("Text1"));
    WindowDriver::typeInto(dividend, QStringLiteral("1"));
    WindowDriver::typeInto(
        m_form->findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("7"));
    const QString path = m_folder->filePath(QStringLiteral("long.txt"));
    QString resultWhenSaved;
    QTimer::singleShot(300, m_form.get(), [&] {
        // The run waits in its yield while this runs, so no digit comes between these two.
        resultWhenSaved = m_form->findChild<ResultBox *>(QStringLiteral("Text3"))->text();
        save(path);
        QTest::keyClick(dividend, Qt::Key_Escape);
    });
    QTest::keyClick(dividend, Qt::Key_Return);

    QVERIFY2(resultWhenSaved.size() > 10000, "the run was well under way");
    QCOMPARE(contents(path), header + "1 / 7 = \r\n" + resultWhenSaved.toLatin1());
}

int runSavingTests(int argc, char *argv[])
{
    SavingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SavingTest.moc"
