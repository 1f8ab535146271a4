#include "BuildConfig.h"
#include "ResultFileText.h"
#include "ResultFileWriter.h"
#include "Rows.h"

#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

class SavingTest : public QObject
{
    Q_OBJECT

private slots:
    // Root too is held to folders' permissions.
    void initTestCase()
    {
        __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
        __user_cap_data_struct caps[2];
        syscall(SYS_capget, &header, caps);
        caps->effective &= ~(1 << CAP_DAC_OVERRIDE);
        syscall(SYS_capset, &header, caps);
    }

    // Always under a name outside Latin-1.
    void saving_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("older");
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QString>("outcome");
        const QByteArray longer(4096, 'x'), digits = QByteArray("0123456789").repeated(262144);
        const QByteArray none, small = "0,625";
        row("new file", "", none, small, "saved");
        row("longer file replaced whole", "", longer, small, "saved");
        row("missing folder", "missing", none, small, "failed");
        row("full device", "device", none, small, "failed");
        row("pipe without a reader", "pipe", none, small, "failed");
        row("pipe whose reader leaves", "pipe leaves", none, digits, "failed");
        row("pipe read slowly", "pipe read slowly", none, digits, "saved");
        row("owner and mode kept", "own", longer, small, "saved");
        row("writable file in a read-only folder", "read-only", longer, small, "saved");
        row("file size limit", "limit", longer, digits, "failed");
        row("no room to reserve in place", "read-only limit", QByteArray("short"), digits,
            "failed");
        row("longer file past the limit in place", "read-only limit", digits + "x", digits,
            "failed");
        row("no memory half-way in place", "read-only no memory", longer, digits, "failed");
        row("several pieces in place", "read-only", longer, digits, "saved");
        row("SIGTERM half-way in place", "read-only signal", longer, digits,
            "saved, then ended by signal 15");
    }
    void saving()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, older);
        QFETCH(QByteArray, result);
        QFETCH(QString, outcome);
        const bool saved = outcome.startsWith("saved");
        QTemporaryDir dir;
        const QString name = "výsledek-日本",
                      path = dir.filePath(setup == "missing" ? "missing/" + name : name);
        if (setup == "device" && mknod(qPrintable(path), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("making a device node needs root");
        QVERIFY(!setup.startsWith("pipe") || mkfifo(qPrintable(path), 0666) == 0);
        QFile file(path);
        QVERIFY(older.isNull() || (file.open(QIODevice::WriteOnly) && file.write(older)));
        file.close();
        struct stat before = {}, after = {};
        if (setup == "own")
            QVERIFY(chmod(qPrintable(path), 02664) == 0
                && (getuid() || !chown(qPrintable(path), 7, 7)));
        stat(qPrintable(path), &before);
        int readEnd
            = setup == "pipe read slowly" ? open(qPrintable(path), O_RDONLY | O_NONBLOCK) : -1;
        const auto reader = [&](qsizetype from, qsizetype length) {
            if (readEnd >= 0 && setup == "pipe leaves")
                close(std::exchange(readEnd, -1));
            if (from > 0 && setup.endsWith("no memory"))
                throw std::bad_alloc();
            if (from > 0 && setup.endsWith("signal"))
                kill(getpid(), SIGTERM);
            return QString::fromLatin1(result.mid(from, length)).leftJustified(length, '?');
        };
        const ResultFileText text = composeSaveText("5", "8", reader, result.size());

        chmod(qPrintable(dir.path()), setup.startsWith("read-only") ? 0500 : 0700);
        const QDeadlineTimer second(1000);
        // As in a user's session, where these signals end the program unless it handles them.
        const pid_t writer = fork();
        if (writer == 0) {
            for (const int signal : { SIGXFSZ, SIGPIPE, SIGTERM })
                std::signal(signal, SIG_DFL);
            const rlimit small { 2 << 20, RLIM_INFINITY };
            if (setup.endsWith("limit"))
                setrlimit(RLIMIT_FSIZE, &small);
            if (setup == "pipe leaves")
                readEnd = open(qPrintable(path), O_RDONLY | O_NONBLOCK);
            else if (readEnd >= 0)
                close(readEnd);
            _exit(writeSaveText(path, text) ? 0 : 1);
        }
        // Here a reader slower than the writer, so the pipe is full whenever it is written.
        QByteArray got;
        int status = -1;
        for (bool ended = false;;) {
            ended = ended || waitpid(writer, &status, WNOHANG) == writer;
            char piece[4096];
            const ssize_t count = readEnd >= 0 ? read(readEnd, piece, sizeof piece) : 0;
            got.append(piece, std::max<ssize_t>(count, 0));
            if (ended && count <= 0)
                break;
            QTest::qSleep(1);
        }
        chmod(qPrintable(dir.path()), 0700);
        stat(qPrintable(path), &after);

        QCOMPARE(WIFSIGNALED(status)
                ? QString("saved, then ended by signal %1").arg(WTERMSIG(status))
                : WEXITSTATUS(status) ? "failed"
                                      : "saved",
            outcome);
        QVERIFY(older.isNull() || !saved
            || (before.st_mode == after.st_mode && before.st_uid == after.st_uid
                && before.st_gid == after.st_gid));
        QVERIFY(!setup.startsWith("pipe") || setup.endsWith("slowly") || !second.hasExpired());
        // Messages 103 and 104 in Windows-1250 start the text.
        const QByteArray savedText = "Vypo\xE8\xEDt\xE1no v programu Zlomkar\r\nTento program si "
                                     "m\xF9\x9E"
                                     "ete zdarma st\xE1hnout na www." ZLOMKAR_WEB_DOMAIN
                                     "\r\n\r\n5 / 8 = \r\n"
            + result;
        // Opening a device or a pipe would wait for a writer, or never end.
        if (setup == "device" || setup.startsWith("pipe"))
            QVERIFY(!QFileInfo(path).isFile());
        else
            QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                saved ? savedText : older);
        QCOMPARE(got, setup.endsWith("slowly") ? savedText : QByteArray());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            setup == "missing" ? QStringList() : QStringList(name));
    }
};

QTEST_GUILESS_MAIN(SavingTest)
#include "SavingTest.moc"
