// Times the product list of 100,000 rows: checked and imported into an
// empty table, then imported again with every price changed, and written
// out; beside the raw SQLite inserts of the same rows in one transaction.
//
//   muk4productdatabench [rows]   (default 100000)

#include "Timed.h"
#include "data/Schema.h"
#include "utilities/ProductImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <functional>

namespace {

QStringList rowOf(int i, int price)
{
    return {QStringLiteral("49%1").arg(i, 11, 10, QChar(u'0')),
            QStringLiteral("商品%1").arg(i),
            {},
            QStringLiteral("1"),
            QStringLiteral("101"),
            QStringLiteral("80"),
            QStringLiteral("20260101"),
            QString::number(price),
            QStringLiteral("20260101"),
            QStringLiteral("1"),
            QStringLiteral("100"),
            QStringLiteral("20261201"),
            QStringLiteral("20261231"),
            QStringLiteral("09:00:00"),
            QStringLiteral("12:00:00"),
            QString::number(i % 2)};
}

bool writeList(const QString& path, int rows, int price)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QStringList headings;
    for (const ProductCsv::Column& c : ProductCsv::columns())
        headings << c.heading;
    file.write(ProductCsv::line(headings));
    for (int i = 0; i < rows; ++i)
        file.write(ProductCsv::line(rowOf(i, price)));
    return true;
}

bool prepare(const QString& folder)
{
    Database::setFolder(folder);
    if (Schema::prepareFile())
        return false;
    Database db;
    return db.open().ok() &&
           db.execute(QStringLiteral("INSERT INTO MBMBRL (CB01, CB02) VALUES ('1', '食品')"))
               .ok() &&
           db.execute(QStringLiteral("INSERT INTO MBMBRM (CB01, CB02) VALUES ('101', 'パン')"))
               .ok();
}

bool import(const QString& path, double& checking, double& writing, qsizetype& written)
{
    Database db;
    if (!db.open().ok())
        return false;
    ProductImport products;
    checking = timed([&] { return !products.check(db, path).has_value(); });
    written = products.added() + products.changed();
    writing = timed([&] { return !products.write(db).has_value(); });
    return products.refused().isEmpty();
}

// The same rows straight into the table with one prepared statement.
bool rawInserts(const QString& file, int rows)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_stmt* insert = nullptr;
    QString marks = QStringLiteral("?");
    for (int i = 1; i < 25; ++i)
        marks += QStringLiteral(",?");
    bool ok =
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(
            db, QStringLiteral("INSERT INTO MBMSHO VALUES (%1)").arg(marks).toUtf8().constData(),
            -1, &insert, nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < rows; ++i) {
        const QStringList row = rowOf(i, 150);
        // CB01-CB05, blank, cost, its date, average date, blank, price, its date,
        // kind, special price (a number), period, times, two blanks, audit, tax.
        const QStringList texts{row[0],     row[1],     row[1].left(10), row[3],     row[4],
                                " ",        row[5],     row[6],          "9999",     " ",
                                row[7],     row[8],     row[9],          row[10],    row[11],
                                row[12],    row[13],    row[14],         " ",        " ",
                                "20261207", "10:00:00", "20261207",      "10:00:00", row[15]};
        QList<QByteArray> bytes;
        for (const QString& t : texts)
            bytes << t.toUtf8();
        for (int f = 0; f < bytes.size(); ++f) {
            if (f == 13)
                sqlite3_bind_double(insert, f + 1, row[10].toDouble());
            else
                sqlite3_bind_text(insert, f + 1, bytes[f].constData(), int(bytes[f].size()),
                                  SQLITE_TRANSIENT);
        }
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

void line(const char* what, double seconds, qsizetype rows)
{
    std::printf("%-44s %6.2f s  %9.0f rows/s\n", what, seconds, rows / seconds);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir work;
    const QString first = work.filePath(QStringLiteral("first.csv"));
    const QString changed = work.filePath(QStringLiteral("changed.csv"));
    const QString exported = work.filePath(QStringLiteral("exported.csv"));
    if (!writeList(first, rows, 150) || !writeList(changed, rows, 180))
        return 1;

    // The raw inserts into a database of their own, made the same way.
    const QString rawFolder = work.filePath(QStringLiteral("raw"));
    QDir().mkpath(rawFolder);
    if (!prepare(rawFolder))
        return 1;
    const double raw = timed([&] { return rawInserts(Database::filePath(), rows); });

    const QString folder = work.filePath(QStringLiteral("shop"));
    QDir().mkpath(folder);
    if (!prepare(folder))
        return 1;
    double checkNew = 0, writeNew = 0, checkChanged = 0, writeChanged = 0;
    qsizetype added = 0, updated = 0, exportedRows = 0;
    if (!import(first, checkNew, writeNew, added) ||
        !import(changed, checkChanged, writeChanged, updated))
        return 1;
    const double exporting = timed([&] {
        Database db;
        qint64 n = 0;
        const bool ok = db.open().ok() && !ProductCsv::exportTo(db, exported, n).has_value();
        exportedRows = n;
        return ok;
    });

    line("raw SQLite inserts, one transaction", raw, rows);
    line("import into an empty table: check", checkNew, added);
    line("import into an empty table: write", writeNew, added);
    line("import into an empty table: total", checkNew + writeNew, added);
    line("import with every price changed: check", checkChanged, updated);
    line("import with every price changed: write", writeChanged, updated);
    line("import with every price changed: total", checkChanged + writeChanged, updated);
    line("export of every product", exporting, exportedRows);
    return 0;
}
