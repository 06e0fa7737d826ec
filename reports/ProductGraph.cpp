#include "reports/ProductGraph.h"

#include "data/Conversions.h"
#include "reports/ReportQuery.h"

#include <cmath>
#include <numeric>

namespace ProductGraph {

QString figureName(Figure figure)
{
    switch (figure) {
    case Figure::SalesWithTax:
        return QStringLiteral("販売金額（税込み）");
    case Figure::CostOfSales:
        return QStringLiteral("販売原価金額");
    case Figure::GrossProfit:
        return QStringLiteral("粗利");
    }
    return {};
}

const std::array<Scale, 5>& scales()
{
    const QString k = QStringLiteral("1000 = K");
    const QString g = QStringLiteral("1000000 = G");
    static const std::array<Scale, 5> list{{
        {QStringLiteral("1万円"),
         10,
         {k, " 10K", " 20K", " 30K", " 40K", " 50K", ""},
         QStringLiteral(" / 単位 1万円")},
        {QStringLiteral("10万円"),
         100,
         {k, "100K", "200K", "300K", "400K", "500K", ""},
         QStringLiteral(" / 単位 10万円")},
        {QStringLiteral("30万円"),
         300,
         {k, "300K", "600K", "900K", "1.2G", "1.5G", g},
         QStringLiteral(" / 単位 30万円")},
        {QStringLiteral("50万円"),
         500,
         {k, "500K", "1.0G", "1.5G", "2.0G", "2.5G", g},
         QStringLiteral(" / 単位 50万円")},
        {QStringLiteral("100万円"),
         1000,
         {"", "1.0G", "2.0G", "3.0G", "4.0G", "5.0G", g},
         QStringLiteral(" / 単位 100万円")},
    }};
    return list;
}

QString settingText(Figure figure, const Scale& scale, bool comparison)
{
    return figureName(figure) + scale.text +
           (comparison ? QStringLiteral(" / 中分類比較") : QString());
}

namespace {
int leftOf(int day, Series series)
{
    return FirstLeft + Pitch * (day - 1) + (series == Series::Comparison ? ComparisonShift : 0);
}

struct Colours {
    int normal;
    int clipped;
    int negative;
};
constexpr Colours productColours{65280, 16776960, 255};
constexpr Colours comparisonColours{12648384, 16777152, 12632319};
} // namespace

Bar flat(int day, Series series)
{
    const Colours& c = series == Series::Product ? productColours : comparisonColours;
    return {Baseline, 0, leftOf(day, series), Width, c.normal};
}

Bar bar(double total, int divisor, int day, Series series)
{
    const Colours& c = series == Series::Product ? productColours : comparisonColours;
    const double h = total / divisor;
    Bar b{static_cast<int>(std::floor(Baseline - h)), static_cast<int>(std::floor(h)),
          leftOf(day, series), Width, c.normal};
    if (b.top <= ClipTop) {
        b.top = ClipTop;
        b.height = Baseline - ClipTop;
        b.colour = c.clipped;
    }
    if (b.height < 0) {
        b.top = Baseline + 50;
        b.height = 50;
        b.colour = c.negative;
    }
    return b;
}

DbResult read(Database& db, const QString& product, const QString& middle, const QString& month,
              Figure figure, bool netReturns, DayTotals& own, DayTotals& category)
{
    own.fill(0.0);
    category.fill(0.0);
    QString value;
    switch (figure) {
    case Figure::SalesWithTax:
        value = QStringLiteral("CF17");
        break;
    case Figure::CostOfSales:
        value = QStringLiteral("CF21 * CF15");
        break;
    case Figure::GrossProfit:
        value = QStringLiteral("CF13 - CF21 * CF15");
        break;
    }
    // The product's lines are among its middle category's: one pass over
    // the category's month gives both series.
    return forEachRow(
        db,
        QStringLiteral(
            "SELECT CF23, CF06 = '9', coalesce(sum(CASE WHEN CF07 = ? THEN %1 END), 0),"
            " coalesce(sum(%1), 0) FROM MOVURA WHERE CF10 = ? AND CF23 >= ? AND CF23 <= ?"
            " GROUP BY CF23, CF06 = '9'")
            .arg(value),
        {product, middle, month + QStringLiteral("00"), month + QStringLiteral("99")},
        [&](const QSqlQuery& q) {
            const double day = Conversions::toNumber(q.value(0).toString().right(2));
            if (day < 1 || day > Days || day != std::floor(day))
                return;
            const bool returned = q.value(1).toInt() == 1;
            if (returned && !netReturns)
                return;
            const double sign = returned ? -1 : 1;
            own[static_cast<size_t>(day) - 1] += sign * q.value(2).toDouble();
            category[static_cast<size_t>(day) - 1] += sign * q.value(3).toDouble();
        });
}

QList<QStringList> tableRows(const DayTotals& totals)
{
    QList<QStringList> rows;
    for (int day = 1; day <= Days; ++day) {
        rows << QStringList{
            QString::number(day),
            Conversions::format(totals[static_cast<size_t>(day - 1)], u"##,###,###")};
    }
    return rows;
}

QString totalText(const DayTotals& totals)
{
    double sum = 0;
    for (double t : totals)
        sum += t;
    return Conversions::format(sum, Conversions::Amount11);
}

QList<QStringList> fileRows(const DayTotals& own, const DayTotals* category)
{
    QList<const DayTotals*> series{&own};
    if (category)
        series << category;
    // Rounded to the yen as the table rounds them, without separators.
    const auto plain = [](double value) { return Conversions::format(value, u"0"); };
    QList<QStringList> rows;
    for (int day = 1; day <= Days; ++day) {
        QStringList row{QString::number(day)};
        for (const DayTotals* figures : series)
            row << plain((*figures)[static_cast<size_t>(day - 1)]);
        rows << row;
    }
    QStringList total{QStringLiteral("合計")};
    for (const DayTotals* figures : series)
        total << plain(std::accumulate(figures->cbegin(), figures->cend(), 0.0));
    return rows << total;
}

} // namespace ProductGraph
