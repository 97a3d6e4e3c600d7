#pragma once
#include "platform/Ui.h"

namespace platform {

// The user's desktop through Qt Widgets.
class RealUi : public Ui {
public:
    void beep() override;
    void setClipboardText(const QString &text) override;
    QString clipboardText() override;
    void setWaitCursor(bool on) override;
    bool waitCursor() const override { return waitApplied_; }
    void doEvents() override;
    QString openFileDialog(const QString &startFileName, const QString &title, const QString &filter) override;
    void popupMenu(QMenu *menu) override;
    void endProgram() override;
    bool askLogin(const QString &site, const QString &realm, QString *user, QString *password) override;
    bool inputBox(const QString &prompt, const QString &title, QString *value) override;

protected:
    int showMessage(const QString &text, int flags, const QString &title) override;

private:
    bool waitApplied_ = false;
};

// "*.JPG;*.BMP" -> a name filter for a file dialog that matches either letter case.
QString dialogNameFilter(const QString &patterns);

} // namespace platform
