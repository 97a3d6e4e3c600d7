#pragma once
#include "platform/Ui.h"

#include <QString>
#include <cstdio>

// The user of a benchmark: answers every box with OK and says what it was shown,
// so a failure in the measured code is not silent.
class QuietUi : public platform::Ui {
public:
    void beep() override {}
    void setClipboardText(const QString &) override {}
    QString clipboardText() override { return {}; }
    void setWaitCursor(bool on) override { wait_ = on; }
    bool waitCursor() const override { return wait_; }
    void doEvents() override {}
    QString openFileDialog(const QString &s, const QString &, const QString &) override { return s; }
    void popupMenu(QMenu *) override {}
    void endProgram() override {}
    bool askLogin(const QString &, const QString &, QString *, QString *) override { return false; }
    bool inputBox(const QString &, const QString &, QString *) override { return false; }

protected:
    int showMessage(const QString &text, int, const QString &) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return platform::vbOK;
    }

private:
    bool wait_ = false;
};
