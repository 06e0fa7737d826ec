#pragma once

#include "data/Database.h"

// The takings of one business day at this store and register, as the main
// menu shows them. A table with no record for the day leaves its figures
// unshown (found false); the cash figure is always shown.
struct TodayTotals {
    bool salesFound = false;
    bool depositsFound = false;
    bool paymentsFound = false;
    double cashSales = 0;
    double returns = 0;
    double partialPayments = 0;
    double deposits = 0;
    double payments = 0;

    double sales() const { return cashSales + partialPayments; }
    double cash() const { return cashSales - returns + partialPayments + deposits - payments; }

    DbResult read(Database& db, const QString& store, const QString& registerCode,
                  const QString& businessDate);
};
