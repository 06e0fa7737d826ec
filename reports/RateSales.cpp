#include "reports/RateSales.h"

#include "data/Conversions.h"

namespace RateSales {

DbResult read(Database& db, const StoreRegister& where, const QStringList& dates,
              double standardRate, QList<Total>& out)
{
    out.clear();
    TaxRates::RateTotals sums(standardRate);
    sums.add(standardRate, 0);
    if (!dates.isEmpty()) {
        // Grouped by day as well, so that a line whose date text merely
        // sorts between two listed dates counts nowhere, as in the grid.
        const QHash<QString, int> index = dayIndex(dates);
        DbResult r = forEachRow(
            db,
            QStringLiteral("SELECT CF23, COALESCE(CF28, ?) AS rate,"
                           " coalesce(sum(CASE WHEN CF06 = '9' THEN -CF17 ELSE CF17 END), 0)"
                           " FROM MOVURA WHERE ") +
                where.condition() +
                QStringLiteral(" AND CF23 >= ? AND CF23 <= ? GROUP BY CF23, rate"),
            QVariantList{standardRate} + where.values() + QVariantList{dates.front(), dates.back()},
            [&](const QSqlQuery& q) {
                if (index.contains(q.value(0).toString()))
                    sums.add(q.value(1).toDouble(), q.value(2).toDouble());
            });
        if (!r.ok())
            return r;
    }
    out = sums.totals();
    return {};
}

QList<Texts> texts(const QList<Total>& totals)
{
    QList<Texts> result;
    for (const Total& t : totals) {
        result.append({TaxRates::taxedCaption(t.perMille),
                       Conversions::format(static_cast<double>(t.amount), Conversions::Amount11),
                       Conversions::format(static_cast<double>(t.tax()), Conversions::Amount11)});
    }
    return result;
}

} // namespace RateSales
