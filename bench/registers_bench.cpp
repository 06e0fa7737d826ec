// Registers of one shop posting the 10-line sale at the same moment on one
// PostgreSQL server, 1, 2 and 4 of them, beside one register posting on the
// file: postings per second of all registers together and the median and
// 99th percentile of one posting, through the program's own code and as the
// raw statements doing the same work. A process is one register (its code
// is read once), so the bench runs itself once per register, lets them all
// start on one signal, then checks that every register's receipts follow
// each other without gap or duplicate.
//
//   muk4registersbench [postings]   per register, default 600, in 3 rounds
//   muk4registersbench --register FOLDER POSTINGS program|raw PERIOD
//       one register of the program folder FOLDER: prepares its records,
//       says "ready", posts once a line comes on its standard input, then
//       writes the window it posted in (ns) and each posting's time (ms)

#include "BusyYear.h"
#include "Cluster.h"
#include "Timed.h"

#include "data/Clock.h"
#include "data/Parameters.h"
#include "data/Schema.h"
#include "pos/CounterParameters.h"
#include "pos/SalePosting.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>

namespace {
// Postings before the start signal, so that the timed ones meet prepared
// statements and a warm connection, as a register does after its first sale.
constexpr int WarmUp = 5;
constexpr int LinesPerSale = 10;
constexpr int Rounds = 3;

// CLOCK_MONOTONIC: one clock for every process of the machine, so that the
// registers' windows can be laid side by side.
qint64 monotonicNs()
{
    return std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The program's posting as hand-written statements, each prepared once: the
// counter read, then in one transaction the key checked free in both tables,
// the header and its lines inserted and the counter advanced.
class RawPosting {
public:
    RawPosting(Database& db, const CounterParameters& shop) : db_(db), shop_(shop) {}

    bool post()
    {
        QVariantList counter;
        if (!run(QStringLiteral("SELECT CB02, CB03 FROM MBMSYS WHERE CB01 = 'receipt' AND "
                                "CB09 = ?"),
                 {shop_.registerCode}, &counter) ||
            counter.size() != 2)
            return false;
        const QString sequence =
            QString::number(counter[1].toString().toInt() % 100000 + 100001).right(5);
        const SaleDraft sale =
            BusyYear::tenLineSale(shop_.storeCode, shop_.registerCode,
                                  counter[0].toString() + sequence, shop_.businessDate);
        const QVariantList key{sale.store, sale.registerCode, sale.receipt};
        bool ok = run(db_.onServer() ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")
                                     : QStringLiteral("BEGIN IMMEDIATE"),
                      {});
        for (const char* table : {"MOMURA", "MOVURA"})
            ok = ok && run(QStringLiteral("SELECT 1 FROM %1 WHERE CF01 = ? AND CF02 = ? AND "
                                          "CF03 = ? LIMIT 1")
                               .arg(QLatin1String(table)),
                           key);
        ok = ok && insert(QStringLiteral("MOMURA"), saleHeader(sale));
        for (const QVariantMap& line : saleLineRecords(sale))
            ok = ok && insert(QStringLiteral("MOVURA"), line);
        ok = ok && run(QStringLiteral("UPDATE MBMSYS SET CB03 = ?, CB07 = ?, CB08 = ? WHERE "
                                      "CB01 = 'receipt' AND CB09 = ?"),
                       {sequence, Clock::today(), Clock::time(), shop_.registerCode});
        return run(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"), {}) && ok;
    }

private:
    bool insert(const QString& table, const QVariantMap& record)
    {
        const QStringList fields = Schema::fieldsOf(table);
        QVariantList values;
        for (const QString& field : fields)
            values << record.value(field);
        return run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(table, fields.join(u','),
                            QStringList(fields.size(), QStringLiteral("?")).join(u',')),
                   values);
    }

    bool run(const QString& sql, const QVariantList& values, QVariantList* firstRow = nullptr)
    {
        std::unique_ptr<QSqlQuery>& query = prepared_[sql];
        bool ok = true;
        if (!query) {
            query = std::make_unique<QSqlQuery>(db_.handle());
            query->setForwardOnly(true);
            ok = values.isEmpty() || query->prepare(sql);
        }
        for (int i = 0; ok && i < values.size(); ++i)
            query->bindValue(i, values[i]);
        ok = ok && (values.isEmpty() ? query->exec(sql) : query->exec());
        if (!ok) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(sql),
                         qPrintable(query->lastError().text()));
            return false;
        }
        if (firstRow && query->next())
            for (int i = 0; i < query->record().count(); ++i)
                *firstRow << query->value(i);
        query->finish();
        return true;
    }

    Database& db_;
    const CounterParameters& shop_;
    std::map<QString, std::unique_ptr<QSqlQuery>> prepared_;
};

int registerMain(const QString& folder, int postings, bool raw, const QString& period)
{
    Database::setFolder(folder);
    Database db;
    CounterParameters shop;
    if (!db.open().ok() || !Parameters::prepareRegister(db).ok() ||
        !Parameters::change(db, QStringLiteral("workday"),
                            {{"CB02", QStringLiteral("20261201")}, {"CB03", QStringLiteral("RUN")}})
             .ok() ||
        !Parameters::change(db, QStringLiteral("receipt"),
                            {{"CB02", period}, {"CB03", QStringLiteral("00000")}})
             .ok() ||
        !shop.load(db).ok())
        return 2;
    RawPosting rawPosting(db, shop);
    const auto post = [&] {
        if (raw)
            return rawPosting.post();
        QString number;
        return nextReceiptNumber(db, number).ok() &&
               postSale(db, BusyYear::tenLineSale(shop.storeCode, shop.registerCode, number,
                                                  shop.businessDate))
                   .posted();
    };
    for (int i = 0; i < WarmUp; ++i)
        timed(post);
    std::printf("ready\n");
    std::fflush(stdout);
    char go[16];
    if (!std::fgets(go, sizeof go, stdin))
        return 3;
    std::vector<double> times;
    const qint64 begin = monotonicNs();
    for (int i = 0; i < postings; ++i)
        times.push_back(1000 * timed(post));
    std::printf("%lld %lld\n", static_cast<long long>(begin),
                static_cast<long long>(monotonicNs()));
    for (const double ms : times)
        std::printf("%.4f\n", ms);
    return 0;
}

// One way of posting (engine, registers, program or raw) over every round.
struct Scenario {
    int registers; // 0: one register on the file
    bool raw;
    std::vector<double> times;
    double seconds = 0; // from the first register's start to the last one's end, summed
    QString fault;      // the first gap or duplicate found
};

// Starts one process per folder, lets them post together once all are ready
// and gathers their times.
bool together(const QStringList& folders, int postings, const QString& period, Scenario& out)
{
    qint64 begin = std::numeric_limits<qint64>::max();
    qint64 end = std::numeric_limits<qint64>::min();
    const size_t before = out.times.size();
    std::vector<std::unique_ptr<QProcess>> registers;
    for (const QString& folder : folders) {
        QProcess& p = *registers.emplace_back(std::make_unique<QProcess>());
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--register"), folder, QString::number(postings),
                 out.raw ? QStringLiteral("raw") : QStringLiteral("program"), period});
    }
    for (const auto& p : registers) {
        while (!p->canReadLine())
            if (!p->waitForReadyRead(60000))
                return false;
        if (p->readLine() != "ready\n")
            return false;
    }
    for (const auto& p : registers)
        if (p->write("go\n") < 0 || !p->waitForBytesWritten())
            return false;
    for (const auto& p : registers) {
        if (!p->waitForFinished(-1) || p->exitStatus() != QProcess::NormalExit ||
            p->exitCode() != 0)
            return false;
        const QList<QByteArray> lines = p->readAllStandardOutput().trimmed().split('\n');
        const QList<QByteArray> window = lines.value(0).split(' ');
        begin = std::min(begin, window.value(0).toLongLong());
        end = std::max(end, window.value(1).toLongLong());
        for (qsizetype i = 1; i < lines.size(); ++i)
            out.times.push_back(lines[i].toDouble());
    }
    out.seconds += (end - begin) / 1e9;
    return out.times.size() - before == static_cast<size_t>(postings) * folders.size();
}

// Every register's receipts of the run as stored: period + 00001, 00002, ...
// in order, none missing and none twice, each header with all its lines.
QString receiptsChecked(int registers, int count, const QString& period)
{
    Database db;
    for (int r = 1; r <= registers; ++r) {
        const QString code = QString::number(r).rightJustified(2, u'0');
        QList<QVariantList> rows;
        if (!db.open().ok() ||
            !db.select(QStringLiteral("SELECT h.CF03, (SELECT count(*) FROM MOVURA l WHERE "
                                      "l.CF01 = h.CF01 AND l.CF02 = h.CF02 AND l.CF03 = h.CF03) "
                                      "FROM MOMURA h WHERE h.CF02 = ? AND substr(h.CF03, 1, 3) "
                                      "= ? ORDER BY h.CF03"),
                       {code, period}, rows)
                 .ok())
            return QStringLiteral("CANNOT READ THE RECEIPTS");
        for (int i = 0; i < std::max<int>(count, rows.size()); ++i) {
            const QString expected = period + QString::number(100001 + i).right(5);
            if (i >= rows.size() || rows[i][0].toString() != expected ||
                rows[i][1].toInt() != LinesPerSale)
                return QStringLiteral("GAP, DUPLICATE OR LOST LINES: register %1 at %2")
                    .arg(code, expected);
        }
    }
    return {};
}

void row(Scenario& s, const QString& receipts)
{
    QString what = QStringLiteral("server, %1 registers at once").arg(s.registers);
    if (s.registers < 2)
        what =
            s.registers ? QStringLiteral("server, 1 register") : QStringLiteral("file, 1 register");
    if (s.raw)
        what = QStringLiteral("  raw statements");
    std::sort(s.times.begin(), s.times.end());
    const size_t n = s.times.size();
    std::printf("%-32s %10.1f %9.3f %9.3f  %s\n", qPrintable(what), n / s.seconds, s.times[n / 2],
                s.times[(n * 99 + 99) / 100 - 1],
                qPrintable(s.fault.isEmpty() ? receipts : s.fault));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == u"--register")
        return registerMain(args[2], args[3].toInt(), args[4] == u"raw", args[5]);
    const int postings = args.size() > 1 ? args[1].toInt() : 600;
    QTemporaryDir folders(QStringLiteral("/tmp/muk4-registersbench-XXXXXX"));
    if (postings < Rounds || !folders.isValid() ||
        !Cluster::start(QStringLiteral("/tmp/muk4-registersbench-pg")))
        return 1;
    const QString file = folders.filePath(QStringLiteral("file"));
    QStringList servers;
    for (int r = 1; r <= 4; ++r) {
        servers << folders.filePath(QStringLiteral("register%1").arg(r));
        if (!Cluster::writeSettings(servers.back(), QStringLiteral("0%1").arg(r)))
            return 1;
    }
    for (const QString& folder : {file, servers[0]}) {
        QDir().mkpath(folder);
        Database::setFolder(folder);
        if (const auto failure = Schema::prepareDatabase()) {
            std::fprintf(stderr, "%s\n", qPrintable(*failure));
            return 1;
        }
    }
    Database server;
    QList<QVariantList> setting;
    if (!server.open().ok() ||
        !server.select(QStringLiteral("SHOW synchronous_commit"), {}, setting).ok())
        return 1;
    std::printf("the program's server connection: synchronous_commit = %s\n",
                qPrintable(setting.value(0).value(0).toString()));
    QProcess::execute(QStringLiteral("uptime"), {});
    std::printf("\n%-32s %10s %9s %9s  %s\n", "10-line sale, times in ms", "postings/s", "median",
                "99th", "rounds x registers x receipts");
    std::vector<Scenario> scenarios;
    for (const int registers : {0, 1, 2, 4})
        for (const bool raw : {false, true})
            scenarios.push_back({registers, raw, {}, 0, {}});
    // The scenarios take turns, round after round, so that a change of the
    // machine's load during the run falls on all of them alike.
    int period = 100;
    for (int round = 0; round < Rounds; ++round)
        for (Scenario& s : scenarios) {
            const QStringList used = s.registers ? servers.mid(0, s.registers) : QStringList{file};
            const QString code = QString::number(++period);
            if (!together(used, postings / Rounds, code, s)) {
                std::fprintf(stderr, "the registers did not all post\n");
                return 1;
            }
            Database::setFolder(used[0]);
            if (s.fault.isEmpty())
                s.fault = receiptsChecked(used.size(), WarmUp + postings / Rounds, code);
        }
    for (Scenario& s : scenarios)
        row(s, QStringLiteral("%1 x %2 x %3 in a row")
                   .arg(Rounds)
                   .arg(std::max(s.registers, 1))
                   .arg(WarmUp + postings / Rounds));
    std::printf("\n");
    QProcess::execute(QStringLiteral("uptime"), {});
    Cluster::stop();
    return 0;
}
