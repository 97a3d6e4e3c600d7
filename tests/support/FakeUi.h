#pragma once
#include "platform/Ui.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <ostream>
#include <vector>

// Answers message boxes from a queue and records everything shown.
class FakeUi : public platform::Ui {
public:
    struct Message {
        QString text;
        QString title; // as shown: the application title when none was given
        int flags = 0;
        bool operator==(const Message &) const = default;
        friend void PrintTo(const Message &m, std::ostream *os)
        {
            *os << '"' << m.text.toStdString() << "\" / \"" << m.title.toStdString() << "\" / " << m.flags;
        }
    };

    // Answers for the next message boxes, in order. When empty, the first
    // button answers (OK, or Yes for Yes/No).
    std::deque<int> answers;
    std::vector<Message> messages;
    int beeps = 0;
    QString clipboard;
    bool wait = false;
    int waitOnCount = 0;
    int doEventsCalls = 0;
    bool processEventsOnDoEvents = false;
    // File dialog: next chosen names; when empty the dialog is cancelled.
    std::deque<QString> fileChoices;
    struct FileDialogCall {
        QString start, title, filter;
    };
    std::vector<FileDialogCall> fileDialogs;
    // Pop-up menus: the text of the action to choose next; when empty nothing is chosen.
    std::deque<QString> menuChoices;
    QStringList menusShown; // titles of the menus shown
    int endProgramCalls = 0;
    // Login boxes: the next user and password typed; when empty, Annulla.
    std::deque<std::pair<QString, QString>> logins;
    QStringList loginsShown; // "site|realm"
    // Input boxes: the next text typed; when empty, Annulla.
    std::deque<QString> inputs;
    // A real modal box keeps the events running while it waits for the user: when set,
    // each box runs them until this holds (at most 30 s), and then answers.
    std::function<bool()> modalUntil;
    bool modalEnded = true; // false when a box's wait ran out

    void beep() override { ++beeps; }
    void setClipboardText(const QString &t) override { clipboard = t; }
    QString clipboardText() override { return clipboard; }
    void setWaitCursor(bool on) override
    {
        wait = on;
        if (on)
            ++waitOnCount;
    }
    bool waitCursor() const override { return wait; }
    void doEvents() override;
    QString openFileDialog(const QString &start, const QString &title, const QString &filter) override;
    void popupMenu(QMenu *menu) override;
    void endProgram() override { ++endProgramCalls; }
    bool askLogin(const QString &site, const QString &realm, QString *user, QString *password) override;
    bool inputBox(const QString &prompt, const QString &title, QString *value) override;

    const Message &last() const { return messages.back(); }
    // A box as the user sees it; most are the program's plain OK boxes.
    static Message box(const QString &text, const QString &title = QStringLiteral("Lanterna"),
                       int flags = platform::vbOKOnly)
    {
        return {text, title, flags};
    }

protected:
    int showMessage(const QString &text, int flags, const QString &title) override;
};
