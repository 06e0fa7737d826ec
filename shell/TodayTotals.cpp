#include "shell/TodayTotals.h"

namespace {
// The day's records of one table at this store and register, summed by the
// engine: the main menu needs the sums, never the records.
DbResult sumDay(Database& db, const QString& table, const QStringList& sums,
                const QVariantList& day, QVariantList& out)
{
    QList<QVariantList> rows;
    const QString statement =
        QStringLiteral("SELECT count(*), %1 FROM %2 WHERE CF01 = ? AND CF02 = ? AND CF19 = ?")
            .arg(sums.join(QStringLiteral(", ")), table);
    if (DbResult r = db.selectPrepared(statement, day, rows); !r.ok())
        return r;
    out = rows.value(0);
    return {};
}
} // namespace

DbResult TodayTotals::read(Database& db, const QString& store, const QString& registerCode,
                           const QString& businessDate)
{
    *this = TodayTotals{};
    const QVariantList day{store, registerCode, businessDate};
    // The settlement kind is the first character of the transaction code; a
    // return ends in "9". Credit never enters these figures.
    const QString kind = QStringLiteral("substr(CF07, 1, 1)");
    const QString last = QStringLiteral("substr(CF07, length(CF07), 1)");
    QVariantList sales;
    DbResult r =
        sumDay(db, QStringLiteral("MOMURA"),
               {QStringLiteral("coalesce(sum(CASE WHEN %1 = '1' AND %2 <> '9' THEN CF09 END), 0)")
                    .arg(kind, last),
                QStringLiteral("coalesce(sum(CASE WHEN %1 = '1' AND %2 = '9' THEN CF09 END), 0)")
                    .arg(kind, last),
                QStringLiteral("coalesce(sum(CASE WHEN %1 = '2' THEN CF13 END), 0)").arg(kind)},
               day, sales);
    if (!r.ok())
        return r;
    salesFound = sales.value(0).toLongLong() > 0;
    cashSales = sales.value(1).toDouble();
    returns = sales.value(2).toDouble();
    partialPayments = sales.value(3).toDouble();

    const QStringList amount{QStringLiteral("coalesce(sum(CF09), 0)")};
    QVariantList deposited;
    if (r = sumDay(db, QStringLiteral("MOMNYK"), amount, day, deposited); !r.ok())
        return r;
    depositsFound = deposited.value(0).toLongLong() > 0;
    deposits = deposited.value(1).toDouble();
    QVariantList paid;
    if (r = sumDay(db, QStringLiteral("MOMSYK"), amount, day, paid); !r.ok())
        return r;
    paymentsFound = paid.value(0).toLongLong() > 0;
    payments = paid.value(1).toDouble();
    return {};
}
