#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QWidget;

// Answers the next modal dialog the way a user would: once one that `wanted` accepts is showing,
// `answer` gets it and is expected to close it with real key or mouse events. Keep the object alive
// until the dialog has been shown; it answers one dialog only.
class ModalAnswer : public QObject
{
public:
    using Filter = std::function<bool(QWidget *dialog)>;
    using Answer = std::function<void(QWidget *dialog)>;

    explicit ModalAnswer(Answer answer);
    ModalAnswer(Filter wanted, Answer answer);

    bool answered() const { return m_answered; }

private:
    void poll();

    Filter m_wanted;
    Answer m_answer;
    QTimer m_timer;
    bool m_answered = false;
};

// What the tests want to know of a message box they closed with Enter.
struct MessageBoxSeen
{
    QString title;
    QString text;
    int icon = -1;
};

// Closes the program's next message box with Enter, remembering what it showed. The question a
// file dialog asks before replacing a file is not one of the program's boxes.
std::unique_ptr<ModalAnswer> answerMessageBox(MessageBoxSeen &seen);
