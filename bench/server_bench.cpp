// The same busy year with 1,000,000 products on a PostgreSQL server and in
// the file, timed side by side (median and 95th percentile), each beside the
// raw statements doing the same work where there are some: the main menu's
// totals, the counter's look-up by code, a 10-line sale posted, a month of
// each report, and the dump of the server database beside the file's backup.
//
//   muk4serverbench [ini-folder [file-folder]]
//     ini-folder   a program folder whose MUK4.ini names the server database;
//                  without it a throw-away cluster is started and stopped
//     file-folder  default /tmp/muk4-serverbench-file, made on the first run

#include "BusyYear.h"
#include "Cluster.h"
#include "Timed.h"

#include "data/Clock.h"
#include "data/DatabaseSettings.h"
#include "data/Parameters.h"
#include "data/Schema.h"
#include "pos/SaleLine.h"
#include "pos/SalePosting.h"
#include "reports/CategorySales.h"
#include "reports/ProductGraph.h"
#include "reports/RateSales.h"
#include "reports/ReceiptDump.h"
#include "reports/RegisterTotals.h"
#include "reports/ReportDates.h"
#include "shell/TodayTotals.h"
#include "utilities/BackupCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {
constexpr int Products = 1000000;
const StoreRegister shop{QStringLiteral("01"), QStringLiteral("01")};
const BusyYear year = [] {
    BusyYear y{QDate(2025, 12, 1)};
    y.products = Products;
    return y;
}();
const QString lastDay = year.firstDay.addDays(year.days - 1).toString(QStringLiteral("yyyyMMdd"));

struct Stats {
    double median, p95;
};

Stats stats(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[(times.size() * 95 + 99) / 100 - 1]};
}

// The two databases of the run, each with its own program folder and
// connection; a step is timed on both in turns, so both meet the same load.
struct Side {
    QString folder;
    Database db;
    std::vector<double> times;
};
Side server;
Side file;

void row(const char* what, double goal = 0)
{
    const Stats s = stats(std::exchange(server.times, {}));
    const Stats f = stats(std::exchange(file.times, {}));
    std::printf("%-34s %9.3f %9.3f  %9.3f %9.3f  %6.2f", what, s.median, s.p95, f.median, f.p95,
                s.median / f.median);
    if (goal > 0)
        std::printf("  %s < %.0f ms", s.p95 < goal ? "meets" : "MISSES", goal);
    std::printf("\n");
}

void onBoth(int rounds, const std::function<bool(Database&, int)>& work)
{
    for (int i = 0; i < rounds; ++i)
        for (Side* side : {&server, &file}) {
            Database::setFolder(side->folder);
            side->times.push_back(1000 * timed([&] { return work(side->db, i); }));
        }
}

// A statement of the raw side, prepared once on each connection and run
// straight on the driver, every row read.
std::map<std::pair<Database*, QString>, std::unique_ptr<QSqlQuery>> prepared;

bool raw(Database& db, const QString& sql, const QVariantList& values, double* first = nullptr)
{
    std::unique_ptr<QSqlQuery>& query = prepared[{&db, sql}];
    if (!query) {
        query = std::make_unique<QSqlQuery>(db.handle());
        query->setForwardOnly(true);
        if (!query->prepare(sql))
            return false;
    }
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values[i]);
    if (!query->exec()) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(sql), qPrintable(query->lastError().text()));
        return false;
    }
    while (query->next())
        if (first)
            *first += query->value(0).toDouble();
    query->finish();
    return true;
}

bool load(Side& side)
{
    const bool made = year.prepare(side.folder, [](Database& db) {
        DbResult r = BusyYear::writeCategories(db);
        // As the server's own autovacuum would after a large load.
        if (r.ok() && db.onServer())
            r = db.execute(QStringLiteral("VACUUM ANALYZE"));
        return r;
    });
    Database::setFolder(side.folder);
    return made && side.db.open().ok() &&
           Parameters::change(side.db, QStringLiteral("workday"),
                              {{"CB02", lastDay}, {"CB03", QStringLiteral("RUN")}})
               .ok() &&
           Parameters::change(side.db, QStringLiteral("receipt"),
                              {{"CB02", lastDay.mid(3, 3)}, {"CB03", QStringLiteral("90000")}})
               .ok();
}

void benchMenu()
{
    std::vector<double> cash(2);
    onBoth(200, [&](Database& db, int) {
        TodayTotals totals;
        const bool ok = totals.read(db, shop.store, *shop.registerCode, lastDay).ok();
        cash[db.onServer()] = totals.cash();
        return ok;
    });
    row("main menu's totals", 16);
    const QString sums = QStringLiteral(
        "SELECT COALESCE(SUM(CASE WHEN substr(CF07,1,1)='1' AND substr(CF07,5,1)<>'9' THEN CF09 "
        "END),0) - COALESCE(SUM(CASE WHEN substr(CF07,1,1)='1' AND substr(CF07,5,1)='9' THEN "
        "CF09 END),0) + COALESCE(SUM(CASE WHEN substr(CF07,1,1)='2' THEN CF13 END),0), count(*) "
        "FROM MOMURA WHERE CF01=? AND CF02=? AND CF19=?");
    const QString others = QStringLiteral("SELECT %1COALESCE(SUM(CF09),0), count(*) FROM %2 "
                                          "WHERE CF01=? AND CF02=? AND CF19=?");
    std::vector<double> rawCash(2);
    onBoth(200, [&](Database& db, int) {
        const QVariantList key{shop.store, *shop.registerCode, lastDay};
        double& sum = rawCash[db.onServer()] = 0;
        return raw(db, sums, key, &sum) && raw(db, others.arg("", "MOMNYK"), key, &sum) &&
               raw(db, others.arg("-", "MOMSYK"), key, &sum);
    });
    row("  raw statements");
    std::printf("  cash on the server %.0f, in the file %.0f\n", cash[1], cash[0]);
}

void benchLookUp()
{
    QRandomGenerator random(7);
    onBoth(1000, [&](Database& db, int) {
        std::optional<CounterProduct> found;
        QString major;
        QString middle;
        return findProduct(db, BusyYear::productCode(static_cast<int>(random.bounded(Products))),
                           found)
                   .ok() &&
               found && categoryLabel(db, QStringLiteral("MBMBRL"), found->major, major).ok() &&
               categoryLabel(db, QStringLiteral("MBMBRM"), found->middle, middle).ok();
    });
    row("look-up by code (1 M products)", 16);
    onBoth(1000, [&](Database& db, int) {
        const int p = static_cast<int>(random.bounded(Products));
        const QString major = QString::number(1 + p % 9);
        return raw(db, QStringLiteral("SELECT * FROM MBMSHO WHERE CB01 = ? ORDER BY CB01"),
                   {BusyYear::productCode(p)}) &&
               raw(db, QStringLiteral("SELECT CB03 FROM MBMBRL WHERE CB01 = ? ORDER BY CB01"),
                   {major}) &&
               raw(db, QStringLiteral("SELECT CB03 FROM MBMBRM WHERE CB01 = ? ORDER BY CB01"),
                   {major + QString::number(p % 20).rightJustified(2, u'0')});
    });
    row("  raw statements");
}

SaleDraft tenLineSale(const QString& registerCode, int round)
{
    return BusyYear::tenLineSale(shop.store, registerCode,
                                 QStringLiteral("B") + QString::number(1000000 + round), lastDay);
}

void benchPosting()
{
    QList<QVariantList> setting;
    if (server.db.select(QStringLiteral("SHOW synchronous_commit"), {}, setting).ok())
        std::printf("  the program's server connection: synchronous_commit = %s\n",
                    qPrintable(setting.value(0).value(0).toString()));
    const int rounds = 200;
    onBoth(rounds, [](Database& db, int i) {
        return postSale(db, tenLineSale(QStringLiteral("91"), i)).posted();
    });
    const double ratio = stats(server.times).median / stats(file.times).median;
    row("10-line sale posted", 16);
    std::printf("  posting on the server %.2fx the file's: %s\n", ratio,
                ratio <= 3 ? "meets <= 3x" : "MISSES <= 3x");
    auto insert = [](const char* table) {
        const QStringList fields = Schema::fieldsOf(QLatin1String(table));
        return std::pair{fields,
                         QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(QLatin1String(table), fields.join(u','),
                                  QStringList(fields.size(), QStringLiteral("?")).join(u','))};
    };
    const auto [headerFields, headerInsert] = insert("MOMURA");
    const auto [lineFields, lineInsert] = insert("MOVURA");
    auto values = [](const QStringList& fields, const QVariantMap& record) {
        QVariantList list;
        for (const QString& f : fields)
            list << record.value(f);
        return list;
    };
    onBoth(rounds, [&](Database& db, int i) {
        const SaleDraft sale = tenLineSale(QStringLiteral("92"), i);
        const QVariantList key{sale.store, sale.registerCode, sale.receipt};
        QSqlQuery begin(db.handle());
        bool ok = begin.exec(db.onServer() ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")
                                           : QStringLiteral("BEGIN IMMEDIATE"));
        for (const char* table : {"MOMURA", "MOVURA"})
            ok = ok && raw(db,
                           QStringLiteral("SELECT 1 FROM %1 WHERE CF01 = ? AND CF02 = ? AND "
                                          "CF03 = ? LIMIT 1")
                               .arg(QLatin1String(table)),
                           key);
        ok = ok && raw(db, headerInsert, values(headerFields, saleHeader(sale)));
        for (const QVariantMap& line : saleLineRecords(sale))
            ok = ok && raw(db, lineInsert, values(lineFields, line));
        ok = ok && raw(db,
                       QStringLiteral("UPDATE MBMSYS SET CB03 = ?, CB07 = ?, CB08 = ? WHERE "
                                      "CB01 = 'receipt'"),
                       {sale.receipt.right(5), Clock::today(), Clock::time()});
        return ok && begin.exec(QStringLiteral("COMMIT"));
    });
    row("  raw transaction");
    for (Side* side : {&server, &file})
        for (const char* table : {"MOMURA", "MOVURA"})
            (void)side->db.execute(QStringLiteral("DELETE FROM %1 WHERE CF02 IN ('91', '92')")
                                       .arg(QLatin1String(table)));
}

void benchReports()
{
    const QString month = QStringLiteral("202607");
    const QStringList dates = ReportDates::days(QString(month + QStringLiteral("01")));
    const int rounds = 20;
    onBoth(rounds, [&](Database& db, int) {
        std::vector<RegisterDay> days;
        return RegisterTotals::read(db, shop, dates, days).ok() && days.size() == 31;
    });
    row("register totals (MUK4DP01)", 100);
    onBoth(rounds, [&](Database& db, int) {
        QList<RateSales::Total> totals;
        return RateSales::read(db, shop, dates, 0.1, totals).ok() && !totals.isEmpty();
    });
    row("net sales by rate (MUK4DP01)", 100);
    for (const auto& [what, columns] :
         {std::pair{"major categories (MUK4DP05)", CategorySales::majors()},
          std::pair{"middle 181-199,100 (MUK4DP06)", CategorySales::middles(u'1', 81)}}) {
        onBoth(rounds, [&](Database& db, int) {
            std::vector<std::vector<double>> sums;
            return columns.read(db, shop, dates, sums).ok();
        });
        row(what, 100);
    }
    onBoth(rounds, [&](Database& db, int) {
        ProductGraph::DayTotals own{};
        ProductGraph::DayTotals all{};
        return ProductGraph::read(db, QStringLiteral("4900000001022"), QStringLiteral("602"), month,
                                  ProductGraph::Figure::GrossProfit, true, own, all)
            .ok();
    });
    row("product graph (MUK4AS01)", 50);
    onBoth(rounds, [&](Database& db, int) {
        ReceiptDump::Listing listing;
        return ReceiptDump::run(db, shop, *shop.registerCode, QStringLiteral("20260715"), true,
                                listing)
                   .ok() &&
               listing.receipts > 0;
    });
    row("receipt dump of a day (MUK4XP02)", 300);
}

void benchCopies()
{
    const DatabaseSettings settings = [] {
        Database::setFolder(server.folder);
        return DatabaseSettings::current();
    }();
    QTemporaryDir target(QFileInfo(file.folder).absolutePath() +
                         QStringLiteral("/muk4-copy-XXXXXX"));
    const QString dump = target.filePath(QStringLiteral("server.dump"));
    BackupCopy copy(QDir(file.folder).filePath(QLatin1String(Database::FileName)), target.path(),
                    false);
    onBoth(3, [&](Database& db, int) {
        if (!db.onServer())
            return !copy.run().has_value();
        return QProcess::execute(QStringLiteral("pg_dump"),
                                 {QStringLiteral("--format=custom"), QStringLiteral("--host"),
                                  settings.host, QStringLiteral("--port"),
                                  QString::number(settings.port), QStringLiteral("--username"),
                                  settings.user, QStringLiteral("--file"), dump,
                                  settings.dbname}) == 0;
    });
    for (Side* side : {&server, &file})
        for (double& ms : side->times)
            ms /= 1000;
    row("dump / backup copy (s)");
    std::printf("  pg_dump --format=custom %.0f MB; backup copy %.0f MB\n",
                QFileInfo(dump).size() / 1048576.0,
                QFileInfo(copy.destination()).size() / 1048576.0);
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    file.folder = QFileInfo(argc > 2 ? QString::fromLocal8Bit(argv[2])
                                     : QStringLiteral("/tmp/muk4-serverbench-file"))
                      .absoluteFilePath();
    if (argc > 1) {
        server.folder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    } else {
        server.folder = QStringLiteral("/tmp/muk4-serverbench-server");
        if (!Cluster::start(QStringLiteral("/tmp/muk4-serverbench-pg")) ||
            !Cluster::writeSettings(server.folder))
            return 1;
    }
    for (Side* side : {&server, &file}) {
        const double seconds = timed([side] { return load(*side); });
        std::printf("%s ready in %.0f s\n", qPrintable(side->folder), seconds);
    }
    std::printf("\n%-34s %19s  %19s  %6s\n%-34s %9s %9s  %9s %9s  %6s\n", "times in ms", "server",
                "file", "ratio", "", "median", "95th", "median", "95th", "");
    benchMenu();
    benchLookUp();
    benchPosting();
    benchReports();
    benchCopies();
    prepared.clear();
    server.db.close();
    file.db.close();
    Cluster::stop();
    return 0;
}
