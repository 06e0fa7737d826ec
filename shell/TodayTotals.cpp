#include "shell/TodayTotals.h"

#include "data/RecordSet.h"

namespace {
Select dayOf(const QString& table, const QString& store, const QString& registerCode,
             const QString& businessDate, const QStringList& columns)
{
    return Select(table)
        .columns(columns)
        .where(QStringLiteral("CF01"), QStringLiteral("="), store)
        .where(QStringLiteral("CF02"), QStringLiteral("="), registerCode)
        .where(QStringLiteral("CF19"), QStringLiteral("="), businessDate)
        .orderBy({QStringLiteral("CF01"), QStringLiteral("CF02"), QStringLiteral("CF03")});
}

// Sums CF09 of every record of the day; found tells whether there was any.
DbResult sumDay(Database& db, const Select& select, double& sum, bool& found)
{
    RecordSet rs(db);
    if (DbResult r = rs.open(select); !r.ok())
        return r;
    found = rs.found();
    sum = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        sum += rs.number(QStringLiteral("CF09"));
    return {};
}
} // namespace

DbResult TodayTotals::read(Database& db, const QString& store, const QString& registerCode,
                           const QString& businessDate)
{
    *this = TodayTotals{};
    RecordSet sales(db);
    DbResult r =
        sales.open(dayOf(QStringLiteral("MOMURA"), store, registerCode, businessDate,
                         {QStringLiteral("CF07"), QStringLiteral("CF09"), QStringLiteral("CF13")}));
    if (!r.ok())
        return r;
    salesFound = sales.found();
    for (sales.moveFirst(); !sales.eof(); sales.moveNext()) {
        // The settlement kind is the first character of the transaction
        // code; a return ends in "9". Credit never enters these figures.
        const QString code = sales.text(QStringLiteral("CF07"));
        if (code.startsWith(u'1')) {
            if (code.endsWith(u'9'))
                returns += sales.number(QStringLiteral("CF09"));
            else
                cashSales += sales.number(QStringLiteral("CF09"));
        } else if (code.startsWith(u'2')) {
            partialPayments += sales.number(QStringLiteral("CF13"));
        }
    }
    const QStringList amount{QStringLiteral("CF09")};
    r = sumDay(db, dayOf(QStringLiteral("MOMNYK"), store, registerCode, businessDate, amount),
               deposits, depositsFound);
    if (!r.ok())
        return r;
    return sumDay(db, dayOf(QStringLiteral("MOMSYK"), store, registerCode, businessDate, amount),
                  payments, paymentsFound);
}
