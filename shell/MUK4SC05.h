#pragma once

#include "shell/MenuScreen.h"

// Master menu: the maintenance screens of the master tables and the system
// settings; F1 opens the utility menu.
class MUK4SC05 : public MenuScreen {
    Q_OBJECT
public:
    explicit MUK4SC05(Navigator& navigator);

protected:
    bool functionKey(int key) override;
};
