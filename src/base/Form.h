#pragma once
#include <QString>
#include <QWidget>
#include <functional>

class QCloseEvent;

// Base of every window of the program. The registry (forms.h) creates a window,
// runs its Form_Load, and on unload runs Form_Unload and destroys it.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    // Free text the program keeps with the window.
    QString Tag;

    // Shows the window modally and returns when it is hidden or unloaded.
    void showModal();

    void setUnloader(std::function<void()> f) { unloader_ = std::move(f); }

protected:
    // The close box unloads the window.
    void closeEvent(QCloseEvent *event) override;

private:
    std::function<void()> unloader_;
};
