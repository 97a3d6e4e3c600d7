#pragma once
#include "app/Form.h"

// The Favorites window: the Favorites folder as a tree.
class frmFav : public Form {
    Q_OBJECT
public:
    frmFav();
    void Form_Load() override;
};
