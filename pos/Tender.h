#pragma once

#include "pos/Receipt.h"

#include <QString>

// The check of the tendered amount against the amount due for a settlement
// kind: what the change/credit field then shows, in which colour, and the
// message when the amount is refused.
struct TenderCheck {
    enum class Look {
        Normal, // the change of a cash settlement
        Credit, // olive: the amount going on credit
        Refused // red: the amount does not fit the kind
    };
    bool accepted = false;
    double difference = 0; // tendered - amount due
    double shown = 0;      // the figure beside the tendered amount
    Look look = Look::Refused;
    QString message; // empty when accepted
};

TenderCheck checkTender(Settlement kind, double tendered, double amountDue);

// Whether a settlement puts something on credit.
inline bool onCredit(Settlement kind)
{
    return kind != Settlement::Cash;
}
