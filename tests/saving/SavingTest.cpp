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
#include <sys/wait.h>

class SavingTest : public QObject
{
    Q_OBJECT

private slots:
    void saving_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("older");
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QString>("outcome");
        const QByteArray longer(4096, 'x'), digits = QByteArray("0123456789").repeated(262144);
        const QByteArray none, small = "0,625", longest = digits + "x";
        row("new file", "", none, small, "saved");
        row("pipe without a reader", "pipe", none, small, "failed");
        row("pipe whose reader leaves", "pipe leaves", none, digits, "failed");
        row("pipe read slowly", "pipe read slowly", none, digits, "saved");
        row("owner and mode kept", "own", longer, small, "saved");
        row("writable file in a read-only folder", "read-only", longer, small, "saved");
        row("file size limit", "limit", longer, digits, "failed");
        row("no room to reserve in place", "read-only limit", small, digits, "failed");
        row("longer file past the limit in place", "read-only limit", longest, digits, "failed");
        row("no memory half-way in place", "read-only no memory", longer, digits, "failed");
        row("SIGTERM halfway in place", "read-only signal", small, digits, "saved, then signal 15");
    }
    void saving()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, older);
        QFETCH(QByteArray, result);
        QTemporaryDir dir;
        const QString name = "výsledek-日本", path = dir.filePath(name);
        QVERIFY(!setup.startsWith("pipe") || mkfifo(qPrintable(path), 0666) == 0);
        QFile file(path);
        QVERIFY(older.isNull() || (file.open(QIODevice::WriteOnly) && file.write(older)));
        file.close();
        if (setup == "own")
            QVERIFY(chmod(qPrintable(path), 02664) == 0
                && (getuid() || !chown(qPrintable(path), 7, 7)));
        struct stat before = {}, after = {};
        stat(qPrintable(path), &before);
        int readEnd = setup.endsWith("slowly") ? open(qPrintable(path), O_RDONLY | O_NONBLOCK) : -1;
        const auto reader = [&](qsizetype from, qsizetype length) {
            if (readEnd >= 0 && setup == "pipe leaves")
                close(std::exchange(readEnd, -1));
            if (from > 0 && setup.endsWith("no memory"))
                throw std::bad_alloc();
            if (from > 0 && setup.endsWith("signal"))
                kill(getpid(), SIGTERM);
            return QString::fromLatin1(result.mid(from, length));
        };
        const ResultFileText text = composeSaveText("5", "8", reader, result.size());
        chmod(qPrintable(dir.path()), setup.startsWith("read-only") ? 0500 : 0700);
        const pid_t writer = fork();
        if (writer == 0) {
            // As in a user's session, where these signals end the program unless it handles them.
            for (const int signal : { SIGXFSZ, SIGPIPE, SIGTERM })
                std::signal(signal, SIG_DFL);
            // Root too is held to the folder's permissions.
            __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
            __user_cap_data_struct caps[2];
            syscall(SYS_capget, &header, caps);
            caps->effective &= ~(1 << CAP_DAC_OVERRIDE);
            syscall(SYS_capset, &header, caps);
            const rlimit size { setup.endsWith("limit") ? 2 << 20 : RLIM_INFINITY, RLIM_INFINITY };
            setrlimit(RLIMIT_FSIZE, &size);
            if (setup == "pipe leaves")
                readEnd = open(qPrintable(path), O_RDONLY | O_NONBLOCK);
            _exit(writeSaveText(path, text) ? 0 : 1);
        }
        // Here a reader slower than the writer, so the pipe is full whenever it is written.
        QByteArray got;
        int status = -1;
        for (bool ended = false, empty = false; !ended || !empty; QTest::qSleep(1)) {
            ended = ended || waitpid(writer, &status, WNOHANG) == writer;
            char piece[4096];
            const ssize_t count = readEnd >= 0 ? read(readEnd, piece, sizeof piece) : 0;
            got.append(piece, std::max<ssize_t>(count, 0));
            empty = count <= 0;
        }
        chmod(qPrintable(dir.path()), 0700);
        stat(qPrintable(path), &after);
        QString ended = WEXITSTATUS(status) ? "failed" : "saved";
        if (WIFSIGNALED(status))
            ended = "saved, then signal " + QString::number(WTERMSIG(status));
        QTEST(ended, "outcome");
        QVERIFY(older.isNull() || !ended.startsWith("saved")
            || (before.st_mode == after.st_mode && before.st_uid == after.st_uid
                && before.st_gid == after.st_gid));
        // Messages 103 and 104 in Windows-1250 start the text.
        const QByteArray savedText
            = "Vypo\350\355t\341no v programu Zlomkar\r\nTento program si m\371\236ete "
              "zdarma st\341hnout na " ZLOMKAR_WEB_ADDRESS "\r\n\r\n5 / 8 = \r\n"
            + result;
        // Opening a pipe would wait for a writer, or never end: what its reader got stands for it.
        if (!setup.startsWith("pipe") && file.open(QIODevice::ReadOnly))
            got = file.readAll();
        QCOMPARE(got, ended.startsWith("saved") ? savedText : older);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            QStringList(name));
    }
};

QTEST_GUILESS_MAIN(SavingTest)
#include "SavingTest.moc"
