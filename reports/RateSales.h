#pragma once

#include "data/TaxRates.h"
#include "reports/ReportQuery.h"

// The sales of a period at the store (one register or all) net of returns, by the
// tax rate each line was sold at, with the tax they hold: what the owner
// declares per rate at the end of the month.
namespace RateSales {

using Total = TaxRates::RateTotals::Total;

// One rate's figures as the report shows them: "10%対象", net sales, tax.
struct Texts {
    QString caption;
    QString net;
    QString tax;
};

// Lines of every settlement kind over the listed dates, returns (kind "9")
// taken off; a line without a rate was sold before there were two and is
// read at `standardRate`. The standard rate always comes first, zero when
// nothing sold at it; each rate's sum is rounded to the yen once.
DbResult read(Database& db, const StoreRegister& where, const QStringList& dates,
              double standardRate, QList<Total>& out);

QList<Texts> texts(const QList<Total>& totals);

} // namespace RateSales
