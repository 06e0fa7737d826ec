#include "reports/RegisterTotals.h"

#include "data/Conversions.h"
#include "reports/ReportDates.h"

using Conversions::format;

RegisterDay& RegisterDay::operator+=(const RegisterDay& other)
{
    sales += other.sales;
    returns += other.returns;
    partialPayments += other.partialPayments;
    credit += other.credit;
    deposits += other.deposits;
    payments += other.payments;
    customers += other.customers;
    items += other.items;
    return *this;
}

namespace {
QStringList figures(const RegisterDay& d, QStringView amount, QStringView count, QString first)
{
    return {std::move(first),
            format(d.sales, amount),
            QString(),
            QString(),
            format(d.deposits, amount),
            format(d.payments, amount),
            format(d.returns, amount),
            format(d.cash(), amount),
            format(d.theoretical(), amount),
            format(d.customers, count),
            format(d.items, count)};
}

// Every statement reads the month's records of the store and its register
// or registers at once, grouped by business date.
QString headerDays(const StoreRegister& where, QStringView alias = {})
{
    return QStringLiteral(" WHERE %1 AND %2CF19 >= ? AND %2CF19 <= ? GROUP BY %2CF19")
        .arg(where.condition(alias), alias);
}
} // namespace

QStringList RegisterDay::gridRow() const
{
    return figures(*this, Conversions::Amount10, Conversions::Amount7, ReportDates::monthDay(date));
}

QStringList RegisterDay::totalRow() const
{
    return figures(*this, Conversions::Amount11, Conversions::Amount7, QString()).mid(1);
}

namespace RegisterTotals {

DbResult read(Database& db, const StoreRegister& where, const QStringList& dates,
              std::vector<RegisterDay>& out)
{
    out.assign(static_cast<size_t>(dates.size()), RegisterDay{});
    for (qsizetype i = 0; i < dates.size(); ++i)
        out[static_cast<size_t>(i)].date = dates[i];
    if (dates.isEmpty())
        return {};
    const QHash<QString, int> index = dayIndex(dates);
    const QVariantList values = where.values() + QVariantList{dates.front(), dates.back()};
    auto day = [&](const QSqlQuery& q) -> RegisterDay* {
        const int i = index.value(q.value(0).toString(), -1);
        return i < 0 ? nullptr : &out[static_cast<size_t>(i)];
    };

    // The settlement kind is the first character of the transaction code, a
    // return ends in "9"; a code of another kind counts only as a customer.
    DbResult r = forEachRow(
        db,
        QStringLiteral(
            "SELECT CF19, count(*),"
            " coalesce(sum(CASE WHEN substr(CF07, 1, 1) = '1' AND substr(CF07, length(CF07)) <> '9'"
            " THEN CF09 END), 0),"
            " coalesce(sum(CASE WHEN substr(CF07, 1, 1) = '1' AND substr(CF07, length(CF07)) = '9'"
            " THEN CF09 END), 0),"
            " coalesce(sum(CASE WHEN substr(CF07, 1, 1) = '2' THEN CF13 END), 0),"
            " coalesce(sum(CASE WHEN substr(CF07, 1, 1) IN ('2', '3') THEN CF14 END), 0)"
            " FROM MOMURA") +
            headerDays(where),
        values, [&](const QSqlQuery& q) {
            if (RegisterDay* d = day(q)) {
                d->customers = q.value(1).toDouble();
                d->sales = q.value(2).toDouble();
                d->returns = q.value(3).toDouble();
                d->partialPayments = q.value(4).toDouble();
                d->credit = q.value(5).toDouble();
            }
        });
    if (!r.ok())
        return r;
    // The lines of a receipt share its store, register and receipt number.
    r = forEachRow(
        db,
        QStringLiteral("SELECT h.CF19, coalesce(sum(l.CF15), 0) FROM MOMURA h JOIN MOVURA l"
                       " ON l.CF01 = h.CF01 AND l.CF02 = h.CF02 AND l.CF03 = h.CF03") +
            headerDays(where, u"h."),
        values, [&](const QSqlQuery& q) {
            if (RegisterDay* d = day(q))
                d->items = q.value(1).toDouble();
        });
    if (!r.ok())
        return r;
    for (const bool deposits : {true, false}) {
        const QString table = deposits ? QStringLiteral("MOMNYK") : QStringLiteral("MOMSYK");
        r = forEachRow(db,
                       QStringLiteral("SELECT CF19, coalesce(sum(CF09), 0) FROM ") + table +
                           headerDays(where),
                       values, [&](const QSqlQuery& q) {
                           if (RegisterDay* d = day(q))
                               (deposits ? d->deposits : d->payments) = q.value(1).toDouble();
                       });
        if (!r.ok())
            return r;
    }
    return {};
}

} // namespace RegisterTotals
