#pragma once

#include "masters/CashCodeMaster.h"

// Deposit and payment accounts (科目).
class MUK4MM80 : public CashCodeMaster {
    Q_OBJECT
public:
    explicit MUK4MM80(Navigator& navigator);
};
