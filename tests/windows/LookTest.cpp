#include "Form1.h"
#include "Form2.h"

#include <QTemporaryDir>
#include <QTest>
#include <numeric>

// The windows pixel for pixel against look/<name>.png; a changed look is written beside it as
// <name>.got.png, to be copied over it when the change is meant.
class LookTest : public QObject
{
    Q_OBJECT

    void compare(QWidget *window, const QString &name)
    {
        const QString path = QFileInfo(__FILE__).dir().filePath("look/" + name);
        const QImage got = window->grab().toImage().convertToFormat(QImage::Format_RGB32),
                     expected = QImage(path + ".png").convertToFormat(got.format());
        // Blending may round a level or so apart; a caret or a highlight's edge is a dozen pixels.
        const uchar *a = got.constBits(), *b = expected.constBits();
        const qsizetype differing = got.size() != expected.size()
            ? got.sizeInBytes()
            : std::transform_reduce(a, a + got.sizeInBytes(), b, qsizetype(0), std::plus<>(),
                [](int x, int y) { return std::abs(x - y) > 8; });
        if (differing > 12)
            got.save(path + ".got.png");
        QVERIFY2(differing <= 12, qPrintable(path + ".png differs: see .got.png beside it"));
    }

private slots:
    // Each image is grabbed right after a key, which shows a blinking caret.
    void windows()
    {
        const QTemporaryDir folder;
        Form1 main(",");
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(main.focusWidget(), Qt::Key_End);
        compare(&main, "main-window");
        QTest::keyClicks(main.focusWidget(), "\b1\r");
        QWidget *box = main.findChild<QWidget *>("Text3");
        box->setFocus();
        QTest::keySequence(box, QKeySequence("Right, Right, Shift+Right, Shift+Right"));
        compare(&main, "main-window-selection");
        // A download that fails at once keeps the notice an earlier opening left.
        QFile notice(folder.filePath("version"));
        QVERIFY(notice.open(QIODevice::WriteOnly)
            && notice.write("[Update]\n90220=Nov\xE1 verze 2.1;B;1") && notice.flush());
        Form2 about({ "http://127.0.0.1:1/", folder.path(), {}, {} });
        about.load();
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        compare(&about, "about-window");
    }
};

int runLookTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<LookTest>().get(), argc, argv);
}

#include "LookTest.moc"
