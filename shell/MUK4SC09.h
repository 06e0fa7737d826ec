#pragma once

#include "shell/MenuScreen.h"

// Utility menu: the receipt dump, the backup and the product list in and out.
class MUK4SC09 : public MenuScreen {
    Q_OBJECT
public:
    explicit MUK4SC09(Navigator& navigator);
};
