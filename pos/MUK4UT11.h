#pragma once

#include "pos/MUK4UT01.h"

// Returns at the counter: the sales screen posting under the return codes,
// always at the regular price.
class MUK4UT11 : public MUK4UT01 {
    Q_OBJECT
public:
    explicit MUK4UT11(Navigator& navigator);

protected:
    bool isReturn() const override { return true; }
    bool usesSpecialPrices() const override { return false; }
    QString firstFieldLegend() const override;
    QString subject() const override;
};
