#include "ResultBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>

class ResultBoxTest : public QObject
{
    Q_OBJECT

    ResultBox m_box;

    QString copied()
    {
        QTest::keyClick(&m_box, Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    }
    QString dragged(QPoint from, QPoint to)
    {
        QTest::mousePress(m_box.viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(m_box.viewport(), to);
        QTest::mouseRelease(m_box.viewport(), Qt::LeftButton, {}, to);
        return copied();
    }
    void append(int digits)
    {
        m_box.append(QString(digits, '7'));
        QTest::qWait(40); // the box shows what was appended at most once a frame
    }

private slots:
    void selectsAndCopiesTheExactText()
    {
        m_box.resize(313, 369);
        m_box.show();
        m_box.setText("0,625\r\n");
        m_box.append(u"12\r\n3");
        QTest::keyClick(&m_box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(copied(), "0,625\r\n12\r\n3");
        const int row = m_box.fontMetrics().lineSpacing(), right = m_box.viewport()->width() - 1;
        QTest::mouseDClick(m_box.viewport(), Qt::LeftButton, {}, QPoint(4, row * 3 / 2));
        QCOMPARE(copied(), "12");
        m_box.setText("3," + QString(2000, '7'));
        const QString firstRow = dragged({ 1, row / 2 }, { right, row / 2 });
        QVERIFY(firstRow.size() > 10 && m_box.text().startsWith(firstRow));
        QCOMPARE(dragged({ 1, row / 2 }, { right, row * 3 - 1 }),
            m_box.text().left(3 * firstRow.size()));
    }

    void followsTheEndOnlyWhileAtTheBottom()
    {
        QScrollBar *bar = m_box.verticalScrollBar();
        m_box.setText("0,");
        append(100000);
        const int perRow = int(
            (m_box.viewport()->width() - 4) / QFontMetricsF(m_box.font()).horizontalAdvance('7'));
        QVERIFY(qAbs(bar->maximum() + bar->pageStep() - (100002 + perRow - 1) / perRow) <= 1);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClick(&m_box, Qt::Key_PageUp);
        const int scrolledTo = bar->value();
        append(5000);
        QCOMPARE(bar->value(), scrolledTo);
        QTest::keyClick(&m_box, Qt::Key_End, Qt::ControlModifier);
        append(5000);
        QVERIFY(bar->value() == bar->maximum() && bar->value() > scrolledTo);
        m_box.setText("0," + QString(100000, '7'));
        QCOMPARE(bar->value(), 0);
    }
};

int runResultBoxTest(int argc, char *argv[])
{
    ResultBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ResultBoxTest.moc"
