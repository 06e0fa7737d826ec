#include "Fixture.h"

#include "data/Conversions.h"
#include "reports/CategorySales.h"
#include "reports/ProductGraph.h"
#include "reports/RateSales.h"
#include "reports/RegisterTotals.h"
#include "reports/ReportDates.h"

#include <QRandomGenerator>

using ProductGraph::Bar;
using ProductGraph::Figure;
using ProductGraph::Series;

namespace {
const StoreRegister shop{"01", "01"};

// The readings the reports are held against: one query per day, each
// receipt's lines by its number, as the screens were first described.
std::vector<RegisterDay> registerByDay(Database& db, const StoreRegister& where,
                                       const QStringList& dates)
{
    const QString day = " WHERE CF01 = (SELECT s FROM d) AND CF02 = (SELECT r FROM d) AND "
                        "CF19 = (SELECT t FROM d)";
    const QString sales = " FROM MOMURA" + day + " AND CF07 LIKE '1%' AND CF07 ";
    std::vector<RegisterDay> days;
    for (const QString& date : dates) {
        const QVariantMap r = row(
            db,
            "WITH d AS (SELECT ? AS s, ? AS r, ? AS t) SELECT (SELECT sum(CF09)" + sales +
                "NOT LIKE '%9') AS a, (SELECT sum(CF09)" + sales +
                "LIKE '%9') AS b, (SELECT sum(CF13) FROM MOMURA" + day +
                " AND CF07 LIKE '2%') AS c, (SELECT sum(CF14) FROM MOMURA" + day +
                " AND (CF07 LIKE '2%' OR CF07 LIKE '3%')) AS d, (SELECT sum(CF09) FROM MOMNYK" +
                day + ") AS e, (SELECT sum(CF09) FROM MOMSYK" + day +
                ") AS f, (SELECT count(*) FROM MOMURA" + day +
                ") AS g, (SELECT sum(l.CF15) FROM MOMURA h JOIN MOVURA l ON l.CF01 = h.CF01 AND "
                "l.CF02 = h.CF02 AND l.CF03 = h.CF03 WHERE h.CF01 = (SELECT s FROM d) AND h.CF02 "
                "= (SELECT r FROM d) AND h.CF19 = (SELECT t FROM d)) AS h",
            {where.store, *where.registerCode, date});
        days.push_back({date, r["a"].toDouble(), r["b"].toDouble(), r["c"].toDouble(),
                        r["d"].toDouble(), r["e"].toDouble(), r["f"].toDouble(), r["g"].toDouble(),
                        r["h"].toDouble()});
    }
    return days;
}

std::vector<std::vector<double>> categoriesByDay(Database& db, const StoreRegister& where,
                                                 const QStringList& dates,
                                                 const QStringList& middleCodes)
{
    std::vector<std::vector<double>> days;
    for (const QString& date : dates) {
        std::vector<double> sums(middleCodes.isEmpty() ? 10 : 20, 0.0);
        for (const QVariantMap& l :
             rows(db,
                  "SELECT CF09, CF10, CF17 FROM MOVURA WHERE CF01 = ? AND CF02 = ? AND CF23 "
                  "= ? AND CF06 <> '9'",
                  {where.store, *where.registerCode, date})) {
            const double k = Conversions::toNumber(l.value("CF09").toString());
            const qsizetype column = !middleCodes.isEmpty() ? middleCodes.indexOf(l.value("CF10"))
                                     : k == 0               ? 9
                                     : k >= 1 && k <= 9 && k == int(k) ? qsizetype(k) - 1
                                                                       : -1;
            if (column >= 0)
                sums[size_t(column)] += l.value("CF17").toDouble();
        }
        days.push_back(sums);
    }
    return days;
}

ProductGraph::DayTotals graphByLine(Database& db, const QString& product, const QString& middle,
                                    const QString& month, Figure figure, bool netReturns)
{
    const char* value[] = {"CF17", "CF21 * CF15", "CF13 - CF21 * CF15"};
    ProductGraph::DayTotals totals{};
    for (const QVariantMap& r :
         rows(db,
              QStringLiteral(
                  "SELECT CAST(substr(CF23, length(CF23) - 1) AS INTEGER) AS day, sum((%1) * CASE "
                  "CF06 WHEN '9' THEN -CAST(? AS INTEGER) ELSE 1 END) AS v FROM MOVURA "
                  "WHERE CF10 = ? AND CF23 BETWEEN ? AND ? AND (? = 1 OR CF07 = ?) "
                  "GROUP BY 1")
                  .arg(value[int(figure)]),
              {int(netReturns), middle, month + "00", month + "99", int(product.isEmpty()),
               product}))
        if (const int day = r["day"].toInt(); day >= 1 && day <= 31)
            totals[size_t(day - 1)] = r["v"].toDouble();
    return totals;
}

// Caption, net sales and tax of each rate in turn.
QStringList texts(const QList<RateSales::Total>& totals)
{
    QStringList all;
    for (const RateSales::Texts& t : RateSales::texts(totals))
        all << t.caption << t.net << t.tax;
    return all;
}

// Lines without a rate read at a standard rate of 8% here.
QStringList ratesByLine(Database& db, const StoreRegister& where, const QStringList& dates)
{
    TaxRates::RateTotals sums(0.08);
    for (const QString& date : dates)
        for (const QVariantMap& l : rows(db,
                                         "SELECT * FROM MOVURA WHERE CF01 = ? AND CF02 = ? "
                                         "AND CF23 = ?",
                                         {where.store, *where.registerCode, date}))
            sums.add(l["CF28"].isNull() ? 0.08 : l["CF28"].toDouble(),
                     l["CF17"].toDouble() * (l["CF06"] == "9" ? -1 : 1));
    return texts(sums.totals());
}

// A month of awkward records: other stores, registers and dates, stray date
// texts, every transaction code, returns, odd category codes.
void writeAwkwardMonth(Database& db, const QString& month, quint32 seed)
{
    QRandomGenerator random(seed);
    // One commit, rather than a wait for the disk after every record.
    Transaction transaction(db);
    auto pick = [&random](const QStringList& from) {
        return from[random.bounded(static_cast<int>(from.size()))];
    };
    QStringList dates;
    for (int day = 0; day <= 31; ++day)
        dates << month + QString::number(day).rightJustified(2, u'0');
    // Texts that lie between two dates of the month or just outside it.
    dates << month + "1" << month + "1 " << month + "99"
          << QString::number(month.toInt() + 1) + "01";
    const QStringList places{"01", "01", "01", "01", "02"}; // stores and registers
    const QStringList codes{"11000", "11000", "11009", "20000", "30000",
                            "20009", "00000", "",      "1",     "19"};
    const QStringList kinds{" ", " ", " ", "9", ""};
    const QStringList majors{"1", "2", "9", "0", "01", " ", "x", "1.5", "10"};
    const QStringList middles{"100", "101",  "110", "120", "121", "181", "199",
                              "119", "1015", "10",  "200", "001", "020"};
    const QStringList products{"4900000000001", "4900000000002", "4900000000003"};
    for (int n = 1; n <= 400; ++n) {
        const int kind = random.bounded(10);
        const QString table = kind == 0 ? "MOMNYK" : kind == 1 ? "MOMSYK" : "MOMURA";
        Header h{table, pick(places), pick(places), QString::number(10000000 + n), pick(dates)};
        h.code = table == "MOMURA" ? pick(codes) : "70000";
        h.amount = random.bounded(1, 20000);
        h.paidNow = random.bounded(0, 20000);
        h.onCredit = random.bounded(0, 20000);
        addHeader(db, h);
        const int lines = table == "MOMURA" ? random.bounded(0, 5) : 0;
        for (int i = 1; i <= lines; ++i) {
            // Most lines carry their receipt's date and a rate; some do not.
            const QString date = random.bounded(6) == 0 ? pick(dates) : h.date;
            const QVariant rate = QList<QVariant>{{}, 0.1, 0.08, 0.08}[random.bounded(4)];
            addLine(db,
                    {"MOVURA", h.store, h.registerCode, h.receipt,
                     QString::number(i).rightJustified(3, u'0'), date, pick(kinds), pick(products),
                     "商品", pick(majors), pick(middles), double(random.bounded(0, 25000)), 0,
                     double(random.bounded(-2, 6)), double(random.bounded(-500, 30000)), 0,
                     double(random.bounded(0, 300)), "10:00:00", rate});
        }
    }
    if (!transaction.commit().ok())
        qFatal("cannot write the month");
}

QList<int> numbers(const Bar& b)
{
    return {b.top, b.height, b.left, b.width, b.colour};
}
} // namespace

class ReportSumsTest : public QObject {
    Q_OBJECT

private slots:
    void startDates_data()
    {
        // entry, firstAndLast, rows (-1: not a start date)
        table::columns<QString, QStringList, int>();
        QTest::newRow("leap February") << "20240201" << QStringList{"02/01", "02/29"} << 29;
        QTest::newRow("February") << "20250201" << QStringList{"02/01", "02/28"} << 28;
        QTest::newRow("2000 is leap") << "20000210" << QStringList{"02/10", "02/29"} << 20;
        QTest::newRow("2100 is not") << "21000210" << QStringList{"02/10", "02/28"} << 19;
        QTest::newRow("15 April") << "20260415" << QStringList{"04/15", "04/30"} << 16;
        QTest::newRow("day 00") << "20261100" << QStringList{"11/00", "11/30"} << 31;
        QTest::newRow("month 13: 31") << "20261301" << QStringList{"13/01", "13/31"} << 31;
        QTest::newRow("day 31 of June") << "20260631" << QStringList{} << 0;
        QTest::newRow("seven characters") << "2026121" << QStringList{} << -1;
        QTest::newRow("day 32") << "20261232" << QStringList{} << -1;
        QTest::newRow("nine characters") << "202612011" << QStringList{} << -1;
    }

    void startDates()
    {
        const auto [entry, firstAndLast, rows] = table::fetch<QString, QStringList, int>();
        QCOMPARE(ReportDates::validStart(entry), rows >= 0);
        const QStringList days = rows >= 0 ? ReportDates::days(entry) : QStringList();
        QCOMPARE(days.size(), qMax(rows, 0));
        if (rows > 0)
            QCOMPARE((QStringList{ReportDates::monthDay(days.front()),
                                  ReportDates::monthDay(days.back())}),
                     firstAndLast);
    }

    void categoryColumns_data()
    {
        // major, first (0: the major report), code, column (1-based, 0: none)
        table::columns<QString, int, QString, int>();
        QTest::newRow("major 1") << "" << 0 << "1" << 1;
        QTest::newRow("major 9") << "" << 0 << "9" << 9;
        QTest::newRow("major 0 in column 10") << "" << 0 << "0" << 10;
        QTest::newRow("major by number value") << "" << 0 << "01" << 1;
        QTest::newRow("major 10 nowhere") << "" << 0 << "10" << 0;
        QTest::newRow("110 in the first range") << "1" << 1 << "110" << 10;
        QTest::newRow("101 first") << "1" << 1 << "101" << 1;
        QTest::newRow("120 last") << "1" << 1 << "120" << 20;
        QTest::newRow("100 in the fifth range") << "1" << 81 << "100" << 20;
        QTest::newRow("199 in the fifth range") << "1" << 81 << "199" << 19;
        for (int first : {1, 21, 41, 61})
            QTest::addRow("100 not in range %d", first) << "1" << first << "100" << 0;
        QTest::newRow("161 in the fourth") << "1" << 61 << "161" << 1;
        QTest::newRow("major 0 first range") << "0" << 1 << "020" << 20;
        QTest::newRow("another major") << "1" << 1 << "210" << 0;
    }

    void categoryColumns()
    {
        const auto [major, first, code, column] = table::fetch<QString, int, QString, int>();
        const CategorySales columns =
            first == 0 ? CategorySales::majors() : CategorySales::middles(major.front(), first);
        QCOMPARE(columns.columnOf(code), column - 1);
    }

    void groupedReadingsEqualTheDayByDayReading()
    {
        Shop t;
        writeAwkwardMonth(t, "202402", 20240201);
        const QStringList dates = ReportDates::days(u"20240200");
        for (const StoreRegister& where : {shop, StoreRegister{"02", "02"}}) {
            std::vector<RegisterDay> grouped;
            QVERIFY(RegisterTotals::read(t, where, dates, grouped).ok());
            const std::vector<RegisterDay> reference = registerByDay(t, where, dates);
            for (size_t i = 0; i < reference.size(); ++i) {
                QCOMPARE(grouped[i].gridRow(), reference[i].gridRow());
                QCOMPARE(grouped[i].partialPayments, reference[i].partialPayments);
                QCOMPARE(grouped[i].credit, reference[i].credit);
            }
            QList<RateSales::Total> byRate;
            QVERIFY(RateSales::read(t, where, dates, 0.08, byRate).ok());
            QCOMPARE(texts(byRate), ratesByLine(t, where, dates));
            QList<CategorySales> sheets{CategorySales::majors(), CategorySales::middles(u'0', 1)};
            for (int first : CategorySales::rangeStarts())
                sheets << CategorySales::middles(u'1', first);
            for (const CategorySales& sheet : sheets) {
                std::vector<std::vector<double>> sums;
                QVERIFY(sheet.read(t, where, dates, sums).ok());
                QCOMPARE(sums, categoriesByDay(t, where, dates,
                                               sheet.codes().size() == 20 ? sheet.codes()
                                                                          : QStringList{}));
            }
        }
        for (const QString product : {"4900000000001", "4900000000002"})
            for (const QString middle : {"101", "110", "1015"})
                for (Figure figure :
                     {Figure::SalesWithTax, Figure::CostOfSales, Figure::GrossProfit})
                    for (bool net : {false, true}) {
                        ProductGraph::DayTotals own{}, all{};
                        QVERIFY(
                            ProductGraph::read(t, product, middle, "202402", figure, net, own, all)
                                .ok());
                        QCOMPARE(own, graphByLine(t, product, middle, "202402", figure, net));
                        QCOMPARE(all, graphByLine(t, QString(), middle, "202402", figure, net));
                    }
    }

    void allRegistersAreTheSumOfEach_data()
    {
        // The register (none: all), then sales, returns, deposits, customers
        // and items of the day; major 1 and 2, middle 101; 10% and any 8% net.
        table::columns<QString, QList<double>>();
        table::add("register 01", QString("01"),
                   QList<double>{1000, 300, 0, 2, 3, 1000, 0, 1000, 700});
        table::add("register 02", QString("02"),
                   QList<double>{500, 0, 2000, 1, 1, 0, 500, 0, 0, 500});
        table::add("all registers", QString(),
                   QList<double>{1500, 300, 2000, 3, 4, 1000, 500, 1000, 700, 500});
    }

    void allRegistersAreTheSumOfEach()
    {
        const auto [registerCode, want] = table::fetch<QString, QList<double>>();
        Shop t;
        const QString d = "20261206";
        // Register 01: a sale of 1,000 (two items at 10%) and a return of 300;
        // register 02: a sale of 500 at 8% in major 2 and a deposit of 2,000;
        // another store's sale counts nowhere.
        addHeader(t, {"MOMURA", "01", "01", "1", d, "11000", 1000});
        addLine(t, {.receipt = "1", .date = d, .quantity = 2, .amount = 1000, .rate = 0.1});
        addHeader(t, {"MOMURA", "01", "01", "2", d, "11009", 300});
        addLine(t, {.receipt = "2", .date = d, .kind = "9", .amount = 300, .rate = 0.1});
        addHeader(t, {"MOMURA", "01", "02", "1", d, "11000", 500});
        addLine(t, {.registerCode = "02",
                    .receipt = "1",
                    .date = d,
                    .major = "2",
                    .middle = "201",
                    .amount = 500,
                    .rate = 0.08});
        addHeader(t, {"MOMNYK", "01", "02", "2", d, "70000", 2000});
        addHeader(t, {"MOMURA", "02", "01", "1", d, "11000", 7000});
        addLine(t, {.store = "02", .receipt = "1", .date = d, .amount = 7000, .rate = 0.1});
        const StoreRegister where{"01", registerCode.isEmpty() ? std::nullopt
                                                               : std::optional(registerCode)};
        std::vector<RegisterDay> days;
        QList<RateSales::Total> byRate;
        std::vector<std::vector<double>> majors, middles;
        QVERIFY(RegisterTotals::read(t, where, {d}, days).ok());
        QVERIFY(RateSales::read(t, where, {d}, 0.1, byRate).ok());
        QVERIFY(CategorySales::majors().read(t, where, {d}, majors).ok());
        QVERIFY(CategorySales::middles(u'1', 1).read(t, where, {d}, middles).ok());
        const RegisterDay& day = days.front();
        QList<double> got{day.sales, day.returns,  day.deposits, day.customers,
                          day.items, majors[0][0], majors[0][1], middles[0][0]};
        for (const RateSales::Total& rate : byRate)
            got << double(rate.amount);
        QCOMPARE(got, want);
    }

    void bars_data()
    {
        // total, divisor, day, series, bar (top, height, left, width, colour)
        table::columns<double, int, int, Series, QList<int>>();
        const Series P = Series::Product, C = Series::Comparison;
        auto row = [](const char* name, double total, int divisor, int day, Series series,
                      const QList<int>& bar) {
            QTest::newRow(name) << total << divisor << day << series << bar;
        };
        row("25,000 at 1万円", 25000, 10, 1, P, {4500, 2500, 2400, 270, 65280});
        row("60,000 clipped", 60000, 10, 1, P, {1900, 5100, 2400, 270, 16776960});
        row("51,000 reaches 1900", 51000, 10, 2, P, {1900, 5100, 2750, 270, 16776960});
        row("50,900 stays", 50900, 10, 2, P, {1910, 5090, 2750, 270, 65280});
        row("negative", -3000, 10, 3, P, {7050, 50, 3100, 270, 255});
        row("a yen below zero", -1, 100, 3, P, {7050, 50, 3100, 270, 255});
        row("zero", 0, 10, 31, P, {7000, 0, 12900, 270, 65280});
        row("100万円", 2500000, 1000, 1, P, {4500, 2500, 2400, 270, 65280});
        row("pale, 40 twips right", 25000, 10, 31, C, {4500, 2500, 12940, 270, 12648384});
        row("pale clipped", 60000, 10, 1, C, {1900, 5100, 2440, 270, 16777152});
        row("pale negative", -5, 10, 1, C, {7050, 50, 2440, 270, 12632319});
    }

    void bars()
    {
        const auto [total, divisor, day, series, bar] =
            table::fetch<double, int, int, Series, QList<int>>();
        QCOMPARE(numbers(ProductGraph::bar(total, divisor, day, series)), bar);
    }
};

QTEST_MAIN(ReportSumsTest)
#include "test_reportsums.moc"
