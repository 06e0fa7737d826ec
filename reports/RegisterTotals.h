#pragma once

#include "reports/ReportQuery.h"

#include <vector>

// One business day's takings at the store, of one register or all of them, as
// the register totals report lists them.
struct RegisterDay {
    QString date;
    double sales = 0;           // cash sales: kind 1, not a return
    double returns = 0;         // kind 1 returns
    double partialPayments = 0; // paid now on kind 2
    double credit = 0;          // on credit, kinds 2 and 3
    double deposits = 0;
    double payments = 0;
    double customers = 0; // receipts, returns included
    double items = 0;     // quantities of their lines, returned ones as stored

    double cash() const { return sales - returns + partialPayments + deposits - payments; }
    double theoretical() const { return partialPayments + sales + credit; }
    RegisterDay& operator+=(const RegisterDay& other);

    // The grid row: MM/DD, sales, "内金" and "売掛" left empty, deposits,
    // payments, returns, cash, theoretical sales, customers, items.
    QStringList gridRow() const;
    // The total row under the grid columns (Text3 to Text12).
    QStringList totalRow() const;
};

namespace RegisterTotals {

// The takings of every listed date (one month or the end of one), in order;
// a date without records gives a day of zeros.
DbResult read(Database& db, const StoreRegister& where, const QStringList& dates,
              std::vector<RegisterDay>& out);

} // namespace RegisterTotals
