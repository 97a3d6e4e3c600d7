#pragma once
#include <QString>

class QMenu;
class QAction;

namespace platform {

// Message box flags and answers, with the classic numeric values.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256, // the second button (Annulla, No) answers Enter
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

inline constexpr const char *kAppTitle = "Lanterna";

class Ui {
public:
    virtual ~Ui() = default;

    // Modal message box; buttons + icon flags in, answer code out.
    // An empty title shows the application title.
    int MsgBox(const QString &text, int flags = vbOKOnly, const QString &title = QString())
    {
        return showMessage(text, flags, title.isEmpty() ? QString::fromLatin1(kAppTitle) : title);
    }

    virtual void beep() = 0;
    // Clears the clipboard and puts the text on it.
    virtual void setClipboardText(const QString &text) = 0;
    virtual QString clipboardText() = 0;
    // Application-wide hourglass. Setting it twice and clearing it once leaves the arrow.
    virtual void setWaitCursor(bool on) = 0;
    virtual bool waitCursor() const = 0;
    // One pass of pending events.
    virtual void doEvents() = 0;
    // File-open dialog: starts from startFileName (folder and pattern), returns the
    // chosen file's Windows path, or startFileName unchanged when cancelled.
    virtual QString openFileDialog(const QString &startFileName, const QString &title = QString(),
                                   const QString &filter = QString()) = 0;
    // Shows the menu as a pop-up at the mouse; the chosen action is triggered before this returns.
    virtual void popupMenu(QMenu *menu) = 0;
    // Ends the program at once (the caller returns right after).
    virtual void endProgram() = 0;
    // The login box of a site or proxy: false on Annulla. The fields come in filled.
    virtual bool askLogin(const QString &site, const QString &realm, QString *user, QString *password) = 0;
    // A one-line question with OK / Annulla; false on Annulla, value unchanged then.
    virtual bool inputBox(const QString &prompt, const QString &title, QString *value) = 0;

protected:
    virtual int showMessage(const QString &text, int flags, const QString &title) = 0;
};

} // namespace platform
