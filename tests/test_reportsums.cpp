#include "ReportSupport.h"

#include "reports/CategorySales.h"
#include "reports/ReportDates.h"

using ProductGraph::Bar;
using ProductGraph::Figure;
using ProductGraph::Series;

namespace {
const StoreRegister shop{"01", "01"};

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
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("firstAndLast");
        QTest::addColumn<int>("rows");
        QTest::newRow("leap February") << "20240201" << true << QStringList{"02/01", "02/29"} << 29;
        QTest::newRow("February") << "20250201" << true << QStringList{"02/01", "02/28"} << 28;
        QTest::newRow("2000 is leap") << "20000210" << true << QStringList{"02/10", "02/29"} << 20;
        QTest::newRow("2100 is not") << "21000210" << true << QStringList{"02/10", "02/28"} << 19;
        QTest::newRow("15 April") << "20260415" << true << QStringList{"04/15", "04/30"} << 16;
        QTest::newRow("day 00") << "20261100" << true << QStringList{"11/00", "11/30"} << 31;
        QTest::newRow("month 13: 31") << "20261301" << true << QStringList{"13/01", "13/31"} << 31;
        QTest::newRow("day 31 of June") << "20260631" << true << QStringList{} << 0;
        QTest::newRow("seven characters") << "2026121" << false << QStringList{} << 0;
        QTest::newRow("day 32") << "20261232" << false << QStringList{} << 0;
        QTest::newRow("nine characters") << "202612011" << false << QStringList{} << 0;
    }

    void startDates()
    {
        QFETCH(QString, entry);
        QFETCH(bool, valid);
        QFETCH(QStringList, firstAndLast);
        QFETCH(int, rows);
        QCOMPARE(ReportDates::validStart(entry), valid);
        const QStringList days = valid ? ReportDates::days(entry) : QStringList();
        QCOMPARE(days.size(), rows);
        if (rows > 0)
            QCOMPARE((QStringList{ReportDates::monthDay(days.front()),
                                  ReportDates::monthDay(days.back())}),
                     firstAndLast);
    }

    void categoryColumns_data()
    {
        QTest::addColumn<QString>("major");
        QTest::addColumn<int>("first"); // 0: the major report
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("column"); // 1-based, 0: none
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
        QFETCH(QString, major);
        QFETCH(int, first);
        QFETCH(QString, code);
        QFETCH(int, column);
        const CategorySales columns =
            first == 0 ? CategorySales::majors() : CategorySales::middles(major.front(), first);
        QCOMPARE(columns.columnOf(code), column - 1);
    }

    void groupedReadingsEqualTheDayByDayReading()
    {
        ProgramFolder folder;
        TestDb t;
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

    void bars_data()
    {
        QTest::addColumn<double>("total");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<int>("day");
        QTest::addColumn<Series>("series");
        QTest::addColumn<QList<int>>("bar"); // top, height, left, width, colour
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
        QFETCH(double, total);
        QFETCH(int, divisor);
        QFETCH(int, day);
        QFETCH(Series, series);
        QFETCH(QList<int>, bar);
        QCOMPARE(numbers(ProductGraph::bar(total, divisor, day, series)), bar);
    }
};

QTEST_MAIN(ReportSumsTest)
#include "test_reportsums.moc"
