// Times the sales counter on a database holding one year of a busy register
// and 1,000,000 products, each figure beside the raw SQLite statements doing
// the same work in the same run:
//  - a product scanned, looked up and its line shown on the real screen,
//    against the three look-ups (product, major and middle category);
//  - a sale of 10 lines posted with synchronous FULL, against the same
//    checks, inserts and counter update in one raw transaction.
//
//   muk4salesbench [folder]   (default: /tmp/muk4-bench-sales; made on the
//                              first run, which takes several minutes)

#include "BusyYear.h"

#include "ScreenRegistry.h"
#include "data/Clock.h"
#include "data/Parameters.h"
#include "data/Schema.h"
#include "pos/SalePosting.h"
#include "shell/EntryField.h"
#include "shell/Navigator.h"
#include "shell/Screen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTest>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
constexpr int Products = 1000000;

struct Stats {
    double median;
    double p90;
};

Stats stats(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10]};
}

double elapsedMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The raw side: the SQLite library itself, statements prepared once.
class Raw {
public:
    explicit Raw(const QString& path)
    {
        sqlite3_open(path.toUtf8().constData(), &db_);
        exec("PRAGMA synchronous = FULL");
    }
    ~Raw()
    {
        for (sqlite3_stmt* s : statements_)
            sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK)
            std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db_));
        statements_.push_back(s);
        return s;
    }
    void exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
    static void text(sqlite3_stmt* s, int i, const QString& value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(s, i, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    // Runs a statement to its end, reading every column of every row.
    static int run(sqlite3_stmt* s)
    {
        int rowsRead = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                (void)sqlite3_column_text(s, c);
            ++rowsRead;
        }
        sqlite3_reset(s);
        return rowsRead;
    }

private:
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};

bool prepareData(const QString& folder)
{
    BusyYear year{QDate(2025, 12, 1)};
    year.products = Products;
    const bool made = year.prepare(folder, BusyYear::writeCategories);
    Database db;
    if (!made || !db.open().ok())
        return false;
    const QString lastDay =
        year.firstDay.addDays(year.days - 1).toString(QStringLiteral("yyyyMMdd"));
    return Parameters::change(db, QStringLiteral("workday"),
                              {{"CB02", lastDay}, {"CB03", QStringLiteral("RUN")}})
               .ok() &&
           Parameters::change(db, QStringLiteral("printer"), {{"CB02", QStringLiteral("00")}})
               .ok() &&
           Parameters::change(db, QStringLiteral("receipt"),
                              {{"CB02", lastDay.mid(3, 3)}, {"CB03", QStringLiteral("90000")}})
               .ok();
}

void benchLookUp(Raw& raw)
{
    Navigator navigator;
    registerScreens(navigator);
    navigator.show(QStringLiteral("MUK4UT01"));
    Screen* screen = navigator.current();
    auto* code = screen->findChild<EntryField*>(QStringLiteral("Text4"));
    auto* price = screen->findChild<EntryField*>(QStringLiteral("Text6"));
    auto* quantity = screen->findChild<EntryField*>(QStringLiteral("Text7"));
    auto* grid = screen->findChild<QTableWidget*>(QStringLiteral("FG1"));
    QCoreApplication::processEvents();

    sqlite3_stmt* product = raw.prepare("SELECT * FROM MBMSHO WHERE CB01 = ? ORDER BY CB01");
    sqlite3_stmt* major = raw.prepare("SELECT CB03 FROM MBMBRL WHERE CB01 = ? ORDER BY CB01");
    sqlite3_stmt* middle = raw.prepare("SELECT CB03 FROM MBMBRM WHERE CB01 = ? ORDER BY CB01");

    // Both sides read from a file the system holds in memory: the table and
    // its key index are read once before any timing.
    raw.exec("SELECT count(*) FROM MBMSHO WHERE CB02 IS NOT NULL");
    raw.exec("SELECT count(*) FROM MBMSHO WHERE CB01 > ''");

    QRandomGenerator random(7);
    const int rounds = 1000;
    std::vector<double> screenTimes;
    // Where the screen's time goes, summed over the rounds.
    double scanning = 0;
    double confirming = 0;
    double painting = 0;
    std::vector<double> lookUpTimes;
    std::vector<double> rawTimes;
    Database db;
    if (!db.open().ok())
        return;
    for (int i = 0; i < rounds; ++i) {
        // The program's own look-up: product and both categories.
        const int looked = static_cast<int>(random.bounded(Products));
        lookUpTimes.push_back(elapsedMs([&] {
            std::optional<CounterProduct> found;
            QString majorLabel;
            QString middleLabel;
            if (!findProduct(db, BusyYear::productCode(looked), found).ok() || !found ||
                !categoryLabel(db, QStringLiteral("MBMBRL"), found->major, majorLabel).ok() ||
                !categoryLabel(db, QStringLiteral("MBMBRM"), found->middle, middleLabel).ok())
                std::fprintf(stderr, "look-up failed\n");
        }));
        if (grid->rowCount() >= 90)
            screen->activate();
        const int p = static_cast<int>(random.bounded(Products));
        const QString scanned = BusyYear::productCode(p);
        screenTimes.push_back(elapsedMs([&] {
            code->setText(scanned);
            QElapsedTimer step;
            step.start();
            QTest::keyClick(code, Qt::Key_Return);
            scanning += step.nsecsElapsed() / 1e6;
            step.restart();
            QTest::keyClick(price, Qt::Key_Return);
            QTest::keyClick(quantity, Qt::Key_Return);
            confirming += step.nsecsElapsed() / 1e6;
            step.restart();
            QCoreApplication::processEvents();
            painting += step.nsecsElapsed() / 1e6;
        }));
        const int other = static_cast<int>(random.bounded(Products));
        const QString otherCode = BusyYear::productCode(other);
        rawTimes.push_back(elapsedMs([&] {
            Raw::text(product, 1, otherCode);
            Raw::run(product);
            Raw::text(major, 1, QString::number(1 + other % 9));
            Raw::run(major);
            Raw::text(middle, 1,
                      QString::number(1 + other % 9) +
                          QString::number(other % 20).rightJustified(2, u'0'));
            Raw::run(middle);
        }));
    }
    if (grid->rowCount() == 0)
        std::printf("warning: no line reached the grid\n");
    const Stats s = stats(screenTimes);
    const Stats l = stats(lookUpTimes);
    const Stats r = stats(rawTimes);
    std::printf("raw look-ups (product, major, middle; %d products): median %.3f ms, 90th %.3f "
                "ms\n",
                Products, r.median, r.p90);
    std::printf("program's look-up: median %.3f ms, 90th %.3f ms; ratio to raw %.2f\n", l.median,
                l.p90, l.median / r.median);
    std::printf("code scanned, looked up and its line shown on the screen: median %.3f ms, 90th "
                "%.3f ms; ratio to raw %.2f\n",
                s.median, s.p90, s.median / r.median);
    std::printf("  of which (means): look-up and price shown %.3f ms, line confirmed into the "
                "list %.3f ms, screen drawn %.3f ms\n",
                scanning / rounds, confirming / rounds, painting / rounds);
    navigator.end();
}

SaleDraft tenLineSale(const QString& registerCode, const QString& receipt)
{
    return BusyYear::tenLineSale(QStringLiteral("01"), registerCode, receipt,
                                 QStringLiteral("20261130"));
}

void benchPosting(Raw& raw)
{
    Database db;
    if (!db.open().ok())
        return;
    const QStringList headerFields = Schema::fieldsOf(QStringLiteral("MOMURA"));
    const QStringList lineFields = Schema::fieldsOf(QStringLiteral("MOVURA"));
    auto insert = [&raw](const QStringList& fields, const char* table) {
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(QLatin1String(table), fields.join(u','),
                                     QStringList(fields.size(), QStringLiteral("?")).join(u','));
        return raw.prepare(sql.toUtf8().constData());
    };
    sqlite3_stmt* headerInsert = insert(headerFields, "MOMURA");
    sqlite3_stmt* lineInsert = insert(lineFields, "MOVURA");
    sqlite3_stmt* headerCheck =
        raw.prepare("SELECT 1 FROM MOMURA WHERE CF01 = ? AND CF02 = ? AND CF03 = ? LIMIT 1");
    sqlite3_stmt* lineCheck =
        raw.prepare("SELECT 1 FROM MOVURA WHERE CF01 = ? AND CF02 = ? AND CF03 = ? LIMIT 1");
    sqlite3_stmt* counter =
        raw.prepare("UPDATE MBMSYS SET CB03 = ?, CB07 = ?, CB08 = ? WHERE CB01 = 'receipt'");
    auto bindRecord = [](sqlite3_stmt* s, const QStringList& fields, const QVariantMap& record) {
        for (int i = 0; i < fields.size(); ++i) {
            const QVariant v = record.value(fields[i]);
            if (v.typeId() == QMetaType::Double)
                sqlite3_bind_double(s, i + 1, v.toDouble());
            else
                Raw::text(s, i + 1, v.toString());
        }
    };

    const int rounds = 200;
    std::vector<double> programTimes;
    std::vector<double> rawTimes;
    for (int i = 0; i < rounds; ++i) {
        const QString receipt = QStringLiteral("B") + QString::number(1000000 + i);
        const SaleDraft program = tenLineSale(QStringLiteral("91"), receipt);
        programTimes.push_back(elapsedMs([&] {
            if (!postSale(db, program).posted())
                std::fprintf(stderr, "posting failed\n");
        }));
        // The same records, written by hand.
        const SaleDraft byHand = tenLineSale(QStringLiteral("92"), receipt);
        const QVariantMap head = saleHeader(byHand);
        const QList<QVariantMap> lines = saleLineRecords(byHand);
        rawTimes.push_back(elapsedMs([&] {
            raw.exec("BEGIN IMMEDIATE");
            for (sqlite3_stmt* check : {headerCheck, lineCheck}) {
                Raw::text(check, 1, byHand.store);
                Raw::text(check, 2, byHand.registerCode);
                Raw::text(check, 3, receipt);
                if (Raw::run(check) != 0)
                    std::fprintf(stderr, "raw duplicate\n");
            }
            bindRecord(headerInsert, headerFields, head);
            Raw::run(headerInsert);
            for (const QVariantMap& line : lines) {
                bindRecord(lineInsert, lineFields, line);
                Raw::run(lineInsert);
            }
            Raw::text(counter, 1, receipt.right(5));
            Raw::text(counter, 2, Clock::today());
            Raw::text(counter, 3, Clock::time());
            Raw::run(counter);
            raw.exec("COMMIT");
        }));
    }
    const Stats p = stats(programTimes);
    const Stats r = stats(rawTimes);
    std::printf("10-line sale posted, synchronous FULL: median %.3f ms, 90th %.3f ms; "
                "raw transaction: median %.3f ms, 90th %.3f ms; ratio %.2f\n",
                p.median, p.p90, r.median, r.p90, p.median / r.median);
    // Leave the data as it was for the next run.
    (void)db.execute("DELETE FROM MOMURA WHERE CF02 IN ('91', '92')");
    (void)db.execute("DELETE FROM MOVURA WHERE CF02 IN ('91', '92')");
}
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/muk4-bench-sales");
    if (!prepareData(folder))
        return 1;
    Raw raw(Database::filePath());
    benchLookUp(raw);
    benchPosting(raw);
    return 0;
}
