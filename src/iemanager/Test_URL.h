#pragma once
#include "app/Form.h"

class QListWidget;

// Lists the running Internet Explorer processes and ends them.
class Test_URL : public Form {
    Q_OBJECT
public:
    Test_URL();
    void Form_Load() override;

    QListWidget *List1 = nullptr;
};
