#include "reports/CategorySales.h"

#include "data/Conversions.h"
#include "reports/ReportDates.h"

#include <cmath>

namespace {
QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}
} // namespace

CategorySales CategorySales::majors()
{
    QStringList codes;
    for (int i = 1; i <= 10; ++i)
        codes << QString::number(i % 10);
    return {By::Major, codes};
}

CategorySales CategorySales::middles(QChar major, int first)
{
    QStringList codes;
    for (int n = first; n < first + 20; ++n)
        codes << major + twoDigits(n % 100);
    return {By::Middle, codes};
}

QStringList CategorySales::rangeTexts(QChar major)
{
    QStringList texts;
    for (int first : rangeStarts()) {
        const QStringList codes = middles(major, first).codes();
        texts << (first == 81 ? codes[0] + u'～' + codes[18] + u',' + codes[19]
                              : codes[0] + u'～' + codes[19]);
    }
    return texts;
}

int CategorySales::columnOf(const QString& code) const
{
    if (by_ == By::Middle)
        return static_cast<int>(codes_.indexOf(code));
    // The major category counts by its number value, so "01" is category 1
    // and a code that is not a number is category 0.
    const double k = Conversions::toNumber(code);
    if (k < 0 || k > 9 || k != std::floor(k))
        return -1;
    return k == 0 ? 9 : static_cast<int>(k) - 1;
}

DbResult CategorySales::read(Database& db, const StoreRegister& where, const QStringList& dates,
                             std::vector<std::vector<double>>& out) const
{
    out.assign(static_cast<size_t>(dates.size()),
               std::vector<double>(static_cast<size_t>(codes_.size()), 0.0));
    if (dates.isEmpty())
        return {};
    const QHash<QString, int> index = dayIndex(dates);
    auto add = [&](const QSqlQuery& q) {
        const int day = index.value(q.value(0).toString(), -1);
        const int column = columnOf(q.value(1).toString());
        if (day >= 0 && column >= 0)
            out[static_cast<size_t>(day)][static_cast<size_t>(column)] += q.value(2).toDouble();
    };
    const QString month = QStringLiteral(" FROM MOVURA WHERE ") + where.condition() +
                          QStringLiteral(" AND CF23 >= ? AND CF23 <= ? AND CF06 <> '9'");
    const QVariantList values = where.values() + QVariantList{dates.front(), dates.back()};
    if (by_ == By::Major) {
        return forEachRow(db,
                          QStringLiteral("SELECT CF23, CF09, coalesce(sum(CF17), 0)") + month +
                              QStringLiteral(" GROUP BY CF23, CF09"),
                          values, add);
    }
    // A range is one stretch of codes, except the last one, whose m00 lies
    // before its m81 to m99. One pass over the month's lines serves both
    // stretches, in the order of the lines' index, so the engine sorts
    // nothing.
    const bool split = codes_.back() < codes_.front();
    const QString last = split ? codes_[18] : codes_.back();
    const QString extra = split ? codes_.back() : last;
    return forEachRow(db,
                      QStringLiteral("SELECT CF23, CF10, coalesce(sum(CF17), 0)") + month +
                          QStringLiteral(" AND (CF10 >= ? AND CF10 <= ? OR CF10 = ?)"
                                         " GROUP BY CF23, CF09, CF10"),
                      values + QVariantList{codes_.front(), last, extra}, add);
}

QStringList CategorySales::gridRow(const QString& date, const std::vector<double>& sums, int from,
                                   int count)
{
    QStringList cells{ReportDates::monthDay(date)};
    for (int i = from; i < from + count; ++i)
        cells << Conversions::format(sums[static_cast<size_t>(i)], Conversions::Amount10);
    return cells;
}

QStringList CategorySales::totalTexts(const std::vector<std::vector<double>>& rows) const
{
    std::vector<double> totals(static_cast<size_t>(codes_.size()), 0.0);
    for (const std::vector<double>& row : rows) {
        for (size_t i = 0; i < totals.size(); ++i)
            totals[i] += row[i];
    }
    QStringList texts;
    for (double total : totals)
        texts << Conversions::format(total, Conversions::Amount11);
    return texts;
}
