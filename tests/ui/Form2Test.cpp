#include "Form2.h"

#include "BuildConfig.h"
#include "LocalHttpServer.h"
#include "MessageCatalogue.h"

#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <memory>

namespace {

const QString homePage = QStringLiteral("http://www." ZLOMKAR_WEB_DOMAIN);
const QString fixedProgramPage = homePage + QStringLiteral("/data/html/zlomkar.html");

QString message(int number)
{
    return QStringView(MessageCatalogue::text(number)).toString();
}

QByteArray notice(const QByteArray &value)
{
    return "[Other]\r\n90220=wrong section\r\n[Update]\r\n90219=other program\r\n90220=" + value
        + "\r\n";
}

HttpAnswer answer(int status, const QByteArray &body)
{
    HttpAnswer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

// What a user reads in a tooltip.
QString shownToolTip(const QWidget *widget)
{
    return QTextDocumentFragment::fromHtml(widget->toolTip()).toPlainText();
}

} // namespace

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void design();
    void updateCheck_data();
    void updateCheck();
    void everyOpeningDownloadsAgain();
    void unwritableProgramDirectoryUsesTheCache();
    void noticeLeftBehindIsReadWhenTheDownloadFails();
    void directoryNamedVersionStays();
    void homeLinkOpensTheHomePage_data();
    void homeLinkOpensTheHomePage();

private:
    AboutSetup setup(const QString &noticeAddress);
    QLabel *label(Form2 &window, const char *name) const
    {
        return window.findChild<QLabel *>(QLatin1String(name));
    }

    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<QTemporaryDir> m_programDirectory;
    QList<QUrl> m_opened;
};

void Form2Test::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void Form2Test::init()
{
    m_server = std::make_unique<LocalHttpServer>();
    m_programDirectory = std::make_unique<QTemporaryDir>();
    m_opened.clear();
}

void Form2Test::cleanup()
{
    QVERIFY2(QDir(m_programDirectory->path()).isEmpty(), "the notice file was left behind");
    m_programDirectory.reset();
    m_server.reset();
}

AboutSetup Form2Test::setup(const QString &noticeAddress)
{
    return { noticeAddress, m_programDirectory->path(), {},
        [this](const QUrl &address) { m_opened << address; } };
}

void Form2Test::design()
{
    Form2 window(setup(LocalHttpServer::closedPortUrl(QStringLiteral("/update.txt"))));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY((window.windowFlags() & Qt::WindowType_Mask) == Qt::Tool);
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.size(), QSize(312, 169));
    // The stand-in face is wider than the designed one; the identifier must still show.
    QLabel *version = label(window, "Label5");
    QVERIFY(version->text().endsWith(QStringLiteral("Id.:90220")));
    QVERIFY(version->geometry().right() < window.width());
    QVERIFY(!label(window, "Image1")->pixmap().isNull());
    QLabel *status = label(window, "Label15");
    QCOMPARE(status->palette().color(QPalette::Active, QPalette::WindowText), QColor(192, 0, 0));
}

void Form2Test::updateCheck_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("programPage");

    const QString failed = message(119);
    const QString fromNotice = QStringLiteral("http://www.B");
    QTest::newRow("good notice") << 200 << notice("A;B;1") << "A" << true << fromNotice;
    QTest::newRow("flag 0") << 200 << notice("A;B;0") << "A" << false << fromNotice;
    QTest::newRow("flag 10") << 200 << notice("A;B;10") << "A" << true << fromNotice;
    QTest::newRow("empty flag") << 200 << notice("A;B;") << "A" << false << fromNotice;
    QTest::newRow("fourth field ignored") << 200 << notice("A;B;1;C") << "A" << true << fromNotice;
    QTest::newRow("empty status text") << 200 << notice(";B;1") << "" << true << fromNotice;
    QTest::newRow("Czech status text")
        << 200 << notice("Nov\xE1 verze 2.1;zlomkar.example/novinky;1")
        << QStringLiteral("Nová verze 2.1") << true
        << QStringLiteral("http://www.zlomkar.example/novinky");
    QTest::newRow("capital Error is not a failure")
        << 200 << notice("Error;B;1") << "Error" << true << fromNotice;
    QTest::newRow("error") << 200 << notice("error") << failed << false << fixedProgramPage;
    QTest::newRow("error with fields")
        << 200 << notice("errorA;B;1") << failed << false << fixedProgramPage;
    QTest::newRow("fewer than three fields")
        << 200 << notice("A;B") << failed << false << fixedProgramPage;
    QTest::newRow("long status pushes the flag out")
        << 200 << notice(QByteArray(124, 'x') + ";B;1") << QString(124, QLatin1Char('x')) << false
        << fromNotice;
    QTest::newRow("markup shown as text")
        << 200 << notice("<b>new</b> <img src=\"file:///etc/hostname\">;<a href=x>B</a>;1")
        << "<b>new</b> <img src=\"file:///etc/hostname\">" << true << "http://www.<a href=x>B</a>";
    QTest::newRow("missing section")
        << 200 << QByteArray("[Updates]\r\n90220=A;B;1\r\n") << failed << false << fixedProgramPage;
    QTest::newRow("missing key") << 200 << QByteArray("[Update]\r\n9022=A;B;1\r\n") << failed
                                 << false << fixedProgramPage;
}

void Form2Test::updateCheck()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(QString, programPage);

    const QString path = QStringLiteral("/update.txt");
    m_server->setAnswer(path, answer(status, body));
    Form2 window(setup(status ? m_server->url(path) : LocalHttpServer::closedPortUrl(path)));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QLabel *statusLine = label(window, "Label15");
    QCOMPARE(statusLine->text(), caption);
    QCOMPARE(statusLine->textFormat(), Qt::PlainText);
    QCOMPARE(statusLine->isEnabled(), enabled);
    QLabel *programLink = label(window, "Label6");
    QCOMPARE(shownToolTip(programLink), programPage);
    QTest::mouseClick(programLink, Qt::LeftButton);
    QCOMPARE(m_opened, QList<QUrl> { QUrl(programPage) });
}

void Form2Test::everyOpeningDownloadsAgain()
{
    const QString path = QStringLiteral("/update.txt");
    m_server->setAnswer(path, answer(200, notice("A;B;1")));
    const QString noticeFile = QDir(m_programDirectory->path()).filePath(QStringLiteral("version"));
    for (int opening = 1; opening <= 2; ++opening) {
        {
            Form2 window(setup(m_server->url(path)));
            QVERIFY(QFile::exists(noticeFile));
        }
        QVERIFY(!QFile::exists(noticeFile));
        QCOMPARE(m_server->requestCount(), opening);
    }
}

void Form2Test::unwritableProgramDirectoryUsesTheCache()
{
    const QString path = QStringLiteral("/update.txt");
    m_server->setAnswer(path, answer(200, notice("A;B;1")));
    AboutSetup installed = setup(m_server->url(path));
    installed.programDirectory = QStringLiteral("/proc");
    const QString cached = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                               .filePath(QStringLiteral("version"));
    {
        Form2 window(installed);
        QCOMPARE(label(window, "Label15")->text(), QStringLiteral("A"));
        QVERIFY(QFile::exists(cached));
    }
    QVERIFY(!QFile::exists(cached));
}

void Form2Test::noticeLeftBehindIsReadWhenTheDownloadFails()
{
    const QString noticeFile = QDir(m_programDirectory->path()).filePath(QStringLiteral("version"));
    QFile leftBehind(noticeFile);
    QVERIFY(leftBehind.open(QIODevice::WriteOnly));
    leftBehind.write(notice("Stale;B;1"));
    leftBehind.close();
    Form2 window(setup(LocalHttpServer::closedPortUrl(QStringLiteral("/update.txt"))));
    QCOMPARE(label(window, "Label15")->text(), QStringLiteral("Stale"));
}

void Form2Test::directoryNamedVersionStays()
{
    QDir program(m_programDirectory->path());
    QVERIFY(program.mkdir(QStringLiteral("version")));
    m_server->setAnswer(QStringLiteral("/update.txt"), answer(200, notice("A;B;1")));
    {
        Form2 window(setup(m_server->url(QStringLiteral("/update.txt"))));
        QCOMPARE(label(window, "Label15")->text(), message(119));
    }
    QVERIFY(QFileInfo(program.filePath(QStringLiteral("version"))).isDir());
    QVERIFY(program.rmdir(QStringLiteral("version")));
}

void Form2Test::homeLinkOpensTheHomePage_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("after a good check") << QByteArray("A;B;1");
    QTest::newRow("after a failed check") << QByteArray("error");
}

void Form2Test::homeLinkOpensTheHomePage()
{
    QFETCH(QByteArray, value);
    const QString path = QStringLiteral("/update.txt");
    m_server->setAnswer(path, answer(200, notice(value)));
    Form2 window(setup(m_server->url(path)));
    window.show();
    QTest::mouseClick(label(window, "Label4"), Qt::LeftButton);
    QCOMPARE(m_opened, QList<QUrl> { QUrl(homePage) });
}

int runForm2Tests(int argc, char *argv[])
{
    Form2Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Form2Test.moc"
