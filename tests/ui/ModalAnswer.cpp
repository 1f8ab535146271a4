#include "ModalAnswer.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

ModalAnswer::ModalAnswer(Answer answer)
    : ModalAnswer([](QWidget *) { return true; }, std::move(answer))
{ }

ModalAnswer::ModalAnswer(Filter wanted, Answer answer)
    : m_wanted(std::move(wanted))
    , m_answer(std::move(answer))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswer::poll);
    m_timer.start(5);
}

void ModalAnswer::poll()
{
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible() || !m_wanted(dialog))
        return;
    m_timer.stop();
    m_answered = true;
    m_answer(dialog);
}

std::unique_ptr<ModalAnswer> answerMessageBox(MessageBoxSeen &seen)
{
    return std::make_unique<ModalAnswer>(
        [](QWidget *dialog) {
            return qobject_cast<QMessageBox *>(dialog)
                && !qobject_cast<QFileDialog *>(dialog->parentWidget());
        },
        [&seen](QWidget *dialog) {
            auto *box = static_cast<QMessageBox *>(dialog);
            seen = { box->windowTitle(), box->text(), int(box->icon()) };
            QTest::keyClick(box, Qt::Key_Return);
        });
}
