#pragma once
#include "platform/WebBrowser.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The find bar along the bottom of the browser window: "Trova:", the text, "Successivo",
// "Precedente", "Maiuscole/minuscole" and the count of matches.
class FindBar : public QWidget {
    Q_OBJECT
public:
    using Direction = platform::WebBrowser::FindDirection;

    explicit FindBar(QWidget *parent);

    QLabel *lblFind = nullptr;
    QLineEdit *txtFind = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdPrevious = nullptr;
    QCheckBox *chkCase = nullptr;
    QLabel *lblCount = nullptr;
    QToolButton *cmdClose = nullptr;

    // Shows the bar with its text selected, ready for a new one.
    void open();
    // Hides the bar; the window clears the highlights.
    void close();
    QString text() const;
    platform::WebBrowser::FindCase matchCase() const;
    void showResult(int activeMatch, int matches);

signals:
    // The text changed, the case switch changed, or the user stepped to a match.
    void find(Direction direction);
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
