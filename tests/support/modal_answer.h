// Answering a modal window from the event loop, as a person at the screen
// would: the answer is given again and again until the window is gone.
// A window may not take an answer at once (a file dialog still reading its
// folder, a field that had the focus), and a test that stopped after one
// try would wait for ever.
#pragma once

#include <functional>
#include <string>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QFileDialog;
class QWidget;

class ModalAnswer {
public:
    // act runs on the active modal window as soon as one is shown, and
    // again every few milliseconds while that same window stays open; it
    // must be safe to repeat. Once the window has closed, nothing more is
    // answered.
    explicit ModalAnswer(std::function<void(QWidget*)> act);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    // How many times act ran.
    int tries() const { return tries_; }
    // Whether the window act answered has closed.
    bool done() const { return done_; }

private:
    friend void AnswerNextModal(std::function<void(QWidget*)> act);

// Ends the answers of AnswerNextModal still waiting: the last test's end
// leaves no event loop to end them, and the application goes after it.
void EndModalAnswers();
    void Tick();

    std::function<void(QWidget*)> act_;
    std::string test_;
    bool ownsItself_ = false;
    QTimer timer_;
    QPointer<QWidget> window_;
    int tries_ = 0;
    bool done_ = false;
};

// The same for a helper that returns before the window opens: the answer
// lives until its window has closed, or until the test that asked for it
// ends.
void AnswerNextModal(std::function<void(QWidget*)> act);

// Ends the answers of AnswerNextModal still waiting: the last test's end
// leaves no event loop to end them, and the application goes after it.
void EndModalAnswers();

// Gives a file dialog the name where it reads it, in its file name field
// (selectFile leaves that field alone while it has the keyboard focus, and
// a file the dialog picked in its list by itself would win over it), then
// presses its OK button.
void AnswerFileDialog(QFileDialog* dialog, const QString& path);
