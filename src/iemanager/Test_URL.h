#pragma once
#include "base/Form.h"

class QListWidget;
class QPushButton;

// Lists the running Internet Explorer processes and ends them.
class Test_URL : public Form {
    Q_OBJECT
public:
    Test_URL();
    void Form_Load() override;

    QListWidget *List1 = nullptr;
    QPushButton *Command1 = nullptr; // "Aggiorna elenco"
    QPushButton *Command2 = nullptr; // "Info ?"
    QPushButton *Command3 = nullptr; // "F I N E"
    QPushButton *Command4 = nullptr; // "Cancella tutte le finestre IE"

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // Runs whenever the selected line changes, by mouse or keyboard.
    void List1_Click();

    // Showing the window while it is open behind another one brings it to the front
    // instead of doing nothing.
    void setVisible(bool visible) override;

private:
    // One pass of pending events; false when this window was unloaded meanwhile.
    bool yield();
    // The pause that lets ended processes go away before the list is rebuilt.
    bool pause();
};
