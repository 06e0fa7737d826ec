// Times a month of each report and the receipt dump of one day on a database
// holding one year of a busy register (1,000 receipts a day), each beside
// one raw SQLite statement computing the same figures on the same file.
//
//   muk4reportsbench [folder]   (default: /tmp/muk4-reports; made on the first run)

#include "BusyYear.h"

#include "reports/CategorySales.h"
#include "reports/ProductGraph.h"
#include "reports/RateSales.h"
#include "reports/ReceiptDump.h"
#include "reports/RegisterTotals.h"
#include "reports/ReportDates.h"
#include "reports/ReportGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

const StoreRegister shop{QStringLiteral("01"), QStringLiteral("01")};
const QString month = QStringLiteral("202607");
const QString dumpDay = QStringLiteral("20260715");
constexpr int Rounds = 15;

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Times {
    double wall;
    double cpu;
};

double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Times timed(const std::function<bool()>& work)
{
    QElapsedTimer timer;
    const double cpu = cpuNow();
    timer.start();
    if (!work()) {
        std::fprintf(stderr, "a timed step failed\n");
        std::exit(1);
    }
    return {timer.nsecsElapsed() / 1e6, cpuNow() - cpu};
}

// Runs the program's way and the raw statement in turns, so both meet the
// same cache, and prints the medians of the elapsed time and, since the
// machine may be shared, of the processor time.
void compare(const char* what, double goal, const std::function<bool()>& program,
             const std::function<bool()>& raw)
{
    std::vector<double> ours;
    std::vector<double> plain;
    std::vector<double> oursCpu;
    std::vector<double> plainCpu;
    for (int i = 0; i < Rounds; ++i) {
        const Times a = timed(program);
        const Times b = timed(raw);
        ours.push_back(a.wall);
        oursCpu.push_back(a.cpu);
        plain.push_back(b.wall);
        plainCpu.push_back(b.cpu);
    }
    const double a = median(ours);
    const double b = median(plain);
    std::printf("%-36s %7.1f ms (cpu %6.1f)   raw %7.1f ms (cpu %6.1f)   ratio %4.2f"
                "   goal < %.0f ms, < 3x\n",
                what, a, median(oursCpu), b, median(plainCpu), a / b, goal);
}

bool rawRows(Database& db, const QString& sql, const QVariantList& values, int* rows = nullptr)
{
    QSqlQuery query(db.handle());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return false;
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec()) {
        std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
        return false;
    }
    int n = 0;
    while (query.next())
        ++n;
    if (rows)
        *rows = n;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/muk4-reports");
    BusyYear year{QDate(2025, 12, 1)};
    year.salesPerDay = 960; // with the deposits and payments, 1,000 receipts a day
    if (!year.prepare(folder))
        return 1;
    Database db;
    if (!db.open().ok())
        return 1;
    std::printf("%s: %.0f MB, month %s, dump of %s\n", qPrintable(Database::filePath()),
                QFileInfo(Database::filePath()).size() / 1e6, qPrintable(month),
                qPrintable(dumpDay));

    const QStringList dates = ReportDates::days(QString(month + QStringLiteral("01")));
    const QVariantList range{shop.store, *shop.registerCode, dates.front(), dates.back()};

    compare(
        "register totals (MUK4DP01)", 100,
        [&] {
            std::vector<RegisterDay> days;
            if (!RegisterTotals::read(db, shop, dates, days).ok())
                return false;
            QList<QStringList> rows;
            for (const RegisterDay& d : days)
                rows << d.gridRow();
            return rows.size() == dates.size();
        },
        [&] {
            const QString headers =
                QStringLiteral("WHERE CF01 = ? AND CF02 = ? AND CF19 >= ? AND CF19 <= ? "
                               "GROUP BY CF19");
            return rawRows(
                db,
                QStringLiteral(
                    "SELECT * FROM (SELECT CF19 AS d, count(*),"
                    " total(CASE WHEN substr(CF07,1,1) = '1' AND substr(CF07,-1) <> '9'"
                    " THEN CF09 END), total(CASE WHEN substr(CF07,1,1) = '1' AND"
                    " substr(CF07,-1) = '9' THEN CF09 END), total(CASE WHEN substr(CF07,1,1)"
                    " = '2' THEN CF13 END), total(CASE WHEN substr(CF07,1,1) IN ('2','3')"
                    " THEN CF14 END) FROM MOMURA %1)"
                    " LEFT JOIN (SELECT h.CF19 AS d, total(l.CF15) FROM MOMURA h JOIN MOVURA l"
                    " ON l.CF01 = h.CF01 AND l.CF02 = h.CF02 AND l.CF03 = h.CF03 WHERE"
                    " h.CF01 = ? AND h.CF02 = ? AND h.CF19 >= ? AND h.CF19 <= ? GROUP BY"
                    " h.CF19) USING (d)"
                    " LEFT JOIN (SELECT CF19 AS d, total(CF09) FROM MOMNYK %1) USING (d)"
                    " LEFT JOIN (SELECT CF19 AS d, total(CF09) FROM MOMSYK %1) USING (d)")
                    .arg(headers),
                range + range + range + range);
        });

    // The month's net sales and tax by rate below the register totals; the
    // raw side runs the class's own statement, so the difference is what the
    // class adds around it.
    const double standardRate = 0.1;
    QList<RateSales::Texts> byRate;
    compare(
        "net sales by rate (MUK4DP01)", 100,
        [&] {
            QList<RateSales::Total> totals;
            if (!RateSales::read(db, shop, dates, standardRate, totals).ok())
                return false;
            byRate = RateSales::texts(totals);
            return !byRate.isEmpty();
        },
        [&] {
            return rawRows(db,
                           QStringLiteral("SELECT CF23, COALESCE(CF28, ?) AS rate, total(CASE"
                                          " WHEN CF06 = '9' THEN -CF17 ELSE CF17 END) FROM MOVURA"
                                          " WHERE CF01 = ? AND CF02 = ? AND CF23 >= ? AND"
                                          " CF23 <= ? GROUP BY CF23, rate"),
                           QVariantList{standardRate} + range);
        });
    // A file made before the lines had rates shows the standard rate alone.
    for (const RateSales::Texts& t : byRate)
        std::printf("  %s %s, tax %s\n", qPrintable(t.caption), qPrintable(t.net),
                    qPrintable(t.tax));

    auto category = [&](const CategorySales& columns) {
        return [&db, &dates, columns] {
            std::vector<std::vector<double>> sums;
            if (!columns.read(db, shop, dates, sums).ok())
                return false;
            QList<QStringList> rows;
            for (qsizetype i = 0; i < dates.size(); ++i)
                rows << CategorySales::gridRow(dates[i], sums[static_cast<size_t>(i)], 0, 10);
            return true;
        };
    };
    const QString lines = QStringLiteral(
        "FROM MOVURA WHERE CF01 = ? AND CF02 = ? AND CF23 >= ? AND CF23 <= ? AND CF06 <> '9'");
    compare("major categories (MUK4DP05)", 100, category(CategorySales::majors()), [&] {
        return rawRows(db,
                       QStringLiteral("SELECT CF23, CF09, total(CF17) ") + lines +
                           QStringLiteral(" GROUP BY CF23, CF09"),
                       range);
    });
    compare("middle 181-199,100 (MUK4DP06)", 100, category(CategorySales::middles(u'1', 81)), [&] {
        return rawRows(db,
                       QStringLiteral("SELECT CF23, CF10, total(CF17) ") + lines +
                           QStringLiteral(" AND (CF10 BETWEEN '181' AND '199' OR CF10 ="
                                          " '100') GROUP BY CF23, CF10"),
                       range);
    });

    // A product sold through the month, its middle category beside it.
    const QString product = QStringLiteral("4900000001022");
    const QString middle = QStringLiteral("602");
    compare(
        "product graph + category (MUK4AS01)", 50,
        [&] {
            ProductGraph::DayTotals own{};
            ProductGraph::DayTotals all{};
            if (!ProductGraph::read(db, product, middle, month, ProductGraph::Figure::GrossProfit,
                                    true, own, all)
                     .ok())
                return false;
            int drawn = 0;
            for (int day = 1; day <= ProductGraph::Days; ++day) {
                using ProductGraph::Series;
                drawn += ProductGraph::bar(own[day - 1], 10, day, Series::Product).height;
                drawn += ProductGraph::bar(all[day - 1], 10, day, Series::Comparison).height;
            }
            return ProductGraph::tableRows(own).size() == 31 && drawn >= 0;
        },
        [&] {
            return rawRows(
                db,
                QStringLiteral("SELECT CF23, total(CASE WHEN CF07 = ? THEN"
                               " (CF13 - CF21 * CF15) * (CASE WHEN CF06 = '9' THEN -1"
                               " ELSE 1 END) END), total((CF13 - CF21 * CF15) * (CASE"
                               " WHEN CF06 = '9' THEN -1 ELSE 1 END)) FROM MOVURA"
                               " WHERE CF10 = ? AND CF23 >= ? AND CF23 <= ?"
                               " GROUP BY CF23"),
                {product, middle, month + QStringLiteral("00"), month + QStringLiteral("99")});
        });

    ReportGrid grid(QStringLiteral("FG1"), {1100, 1100, 2100, 1900, 1600, 1600, 800, 1600, 1000},
                    nullptr);
    grid.resize(900, 600);
    grid.show();
    int listed = 0;
    compare(
        "receipt dump to the grid (MUK4XP02)", 300,
        [&] {
            ReceiptDump::Listing listing;
            if (!ReceiptDump::run(db, shop, *shop.registerCode, dumpDay, true, listing).ok())
                return false;
            listed = static_cast<int>(listing.receipts);
            grid.setRows(std::move(listing.rows));
            grid.repaint();
            return true;
        },
        [&] {
            Transaction t(db);
            const QString day =
                QStringLiteral("SELECT CF03, CF19, CF20, CF21, '%1', CF09, 0, 0, ' ', CF05, CF01,"
                               " CF02, CF02 FROM %1 WHERE CF01 = ? AND CF02 = ? AND CF19 = ?");
            const QVariantList own{shop.store, *shop.registerCode};
            if (!db.execute(QStringLiteral("DELETE FROM MWMXPP WHERE CW11 = ? AND CW12 = ?"), own)
                     .ok() ||
                !db.execute(QStringLiteral("INSERT INTO MWMXPP ") + day.arg("MOMURA") +
                                QStringLiteral(" UNION ALL ") + day.arg("MOMNYK") +
                                QStringLiteral(" UNION ALL ") + day.arg("MOMSYK"),
                            QVariantList{shop.store, *shop.registerCode, dumpDay} +
                                QVariantList{shop.store, *shop.registerCode, dumpDay} +
                                QVariantList{shop.store, *shop.registerCode, dumpDay})
                     .ok() ||
                !t.commit().ok())
                return false;
            return rawRows(db,
                           QStringLiteral("SELECT w.*, l.* FROM MWMXPP w LEFT JOIN MOVURA l ON"
                                          " l.CF01 = ? AND l.CF02 = ? AND l.CF03 = w.CW01 AND"
                                          " l.CF23 = w.CW02 WHERE w.CW11 = ? AND w.CW12 = ?"
                                          " ORDER BY w.CW13, w.CW02, w.CW03, w.CW04, w.CW01,"
                                          " l.CF04"),
                           QVariantList{shop.store, *shop.registerCode} + own);
        });
    std::printf("the dump listed %d receipts in %d grid rows\n", listed, grid.model()->rowCount());
    return 0;
}
