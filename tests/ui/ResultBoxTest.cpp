#include "ResultBox.h"

#include "WrappedRows.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>
#include <memory>

namespace {

QString digits(qsizetype count)
{
    QString text;
    for (qsizetype i = 0; i < count; ++i)
        text += QChar(u'0' + char16_t(i % 10));
    return text;
}

} // namespace

class ResultBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void appendingLaysOutLikeLayingOutAfresh();
    void keepsTheExactTextForCopying();
    void mouseSelectsWhatItCovers();
    void scrollBarCoversTheWholeText();
    void followsTheEndOnlyWhileAtTheBottom();

private:
    // Waits until the box has shown what was appended; it does so at most once a frame.
    void waitForRefresh();

    std::unique_ptr<ResultBox> m_box;
};

void ResultBoxTest::init()
{
    m_box = std::make_unique<ResultBox>();
    m_box->resize(313, 369);
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
}

void ResultBoxTest::cleanup()
{
    m_box.reset();
}

void ResultBoxTest::waitForRefresh()
{
    QTest::qWait(40);
}

void ResultBoxTest::appendingLaysOutLikeLayingOutAfresh()
{
    const QString text
        = QStringLiteral("0,") + digits(5000) + QStringLiteral("\r\nx\r\n") + digits(77);
    QFont font;
    WrappedRows whole;
    whole.setFont(font);
    whole.setWidth(200);
    whole.layout(text);

    WrappedRows grown;
    grown.setFont(font);
    grown.setWidth(200);
    grown.layout(text.left(1));
    for (qsizetype end = 2; end <= text.size(); end += 3)
        grown.extend(QStringView(text).left(end));
    grown.extend(text);

    QCOMPARE(grown.rowCount(), whole.rowCount());
    for (qsizetype row = 0; row < whole.rowCount(); ++row)
        QCOMPARE(grown.rowStart(row), whole.rowStart(row));
}

void ResultBoxTest::keepsTheExactTextForCopying()
{
    m_box->setText(QStringLiteral("0,625\r\n"));
    m_box->append(QStringLiteral("12"));
    m_box->append(QStringLiteral("\r\n3"));
    const QString expected = QStringLiteral("0,625\r\n12\r\n3");
    QCOMPARE(m_box->text(), expected);

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(m_box.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_box.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
}

void ResultBoxTest::mouseSelectsWhatItCovers()
{
    const QString text = QStringLiteral("3,") + digits(2000);
    m_box->setText(text);
    waitForRefresh();
    QWidget *view = m_box->viewport();
    const int rowHeight = m_box->fontMetrics().lineSpacing();

    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(1, rowHeight / 2));
    QTest::mouseMove(view, QPoint(view->width() - 1, rowHeight / 2));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() - 1, rowHeight / 2));
    const QString firstRow = m_box->selectedText();
    QVERIFY(firstRow.size() > 10);
    QVERIFY(text.startsWith(firstRow));

    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(1, rowHeight / 2));
    QTest::mouseMove(view, QPoint(view->width() - 1, rowHeight * 5 / 2));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() - 1, rowHeight * 5 / 2));
    QCOMPARE(m_box->selectedText(), text.left(3 * firstRow.size()));

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(m_box.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text.left(3 * firstRow.size()));
}

void ResultBoxTest::scrollBarCoversTheWholeText()
{
    m_box->setText(QStringLiteral("0,"));
    const QString more = digits(100000);
    for (qsizetype i = 0; i < more.size(); i += 7)
        m_box->append(QStringView(more).mid(i, 7));
    waitForRefresh();

    const qreal rowWidth = m_box->viewport()->width() - 4;
    const auto perRow = qsizetype(rowWidth / QFontMetricsF(m_box->font()).horizontalAdvance(u'0'));
    const qsizetype rows = (2 + more.size() + perRow - 1) / perRow;
    const QScrollBar *bar = m_box->verticalScrollBar();
    QVERIFY2(qAbs(bar->maximum() + bar->pageStep() - rows) <= 1,
        qPrintable(QStringLiteral("%1 + %2 vs %3 rows")
                       .arg(bar->maximum())
                       .arg(bar->pageStep())
                       .arg(rows)));
}

void ResultBoxTest::followsTheEndOnlyWhileAtTheBottom()
{
    m_box->setText(QStringLiteral("0,"));
    m_box->append(digits(50000));
    waitForRefresh();
    QScrollBar *bar = m_box->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    m_box->append(digits(5000));
    waitForRefresh();
    QCOMPARE(bar->value(), bar->maximum());

    QTest::keyClick(m_box.get(), Qt::Key_PageUp);
    const int scrolledTo = bar->value();
    QVERIFY(scrolledTo < bar->maximum());
    const int maximumBefore = bar->maximum();
    m_box->append(digits(5000));
    waitForRefresh();
    QVERIFY(bar->maximum() > maximumBefore);
    QCOMPARE(bar->value(), scrolledTo);

    QTest::keyClick(m_box.get(), Qt::Key_End, Qt::ControlModifier);
    m_box->append(digits(5000));
    waitForRefresh();
    QCOMPARE(bar->value(), bar->maximum());
}

int runResultBoxTests(int argc, char *argv[])
{
    ResultBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ResultBoxTest.moc"
