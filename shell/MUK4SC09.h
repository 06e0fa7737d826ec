#pragma once

#include "shell/MenuScreen.h"

// Utility menu: the receipt dump and the backup.
class MUK4SC09 : public MenuScreen {
    Q_OBJECT
public:
    explicit MUK4SC09(Navigator& navigator);
};
