#pragma once

#include "pos/Receipt.h"

#include <QString>

#include <cmath>

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

// The largest amount, either way, that a line or a transaction may come to:
// what the total's eight-digit display shows, and what the tendered amount's
// nine characters hold when the total is proposed there (" 99999999").
inline constexpr double LargestAmount = 99999999;
inline bool fitsDisplay(double amount)
{
    return std::abs(amount) <= LargestAmount;
}

// Whether a settlement puts something on credit.
inline bool onCredit(Settlement kind)
{
    return kind != Settlement::Cash;
}
