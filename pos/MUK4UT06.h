#pragma once

#include "pos/MUK4UT05.h"

// Payments at the counter: the deposit screen with the money going out,
// posted to the payment tables.
class MUK4UT06 : public MUK4UT05 {
    Q_OBJECT
public:
    explicit MUK4UT06(Navigator& navigator);
};
