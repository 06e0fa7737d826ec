#pragma once

#include "masters/CashCodeMaster.h"

// Deposit and payment partners (取引先).
class MUK4MM81 : public CashCodeMaster {
    Q_OBJECT
public:
    explicit MUK4MM81(Navigator& navigator);
};
