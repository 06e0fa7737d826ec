#include "BusyYear.h"

#include "data/Clock.h"
#include "data/DatabaseSettings.h"
#include "data/Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {
QString insertInto(const QString& table, int rows)
{
    const QStringList fields = Schema::fieldsOf(table);
    const QString marks =
        QStringLiteral("(") + QStringList(fields.size(), QStringLiteral("?")).join(u',') + u')';
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(table, fields.join(u','), QStringList(rows, marks).join(u','));
}

// Writes the records one statement each to the file; to a server, where
// every statement is a round trip, many records to a statement, so that a
// year is loaded in minutes. flush() must come before the commit.
class Inserter {
public:
    Inserter(Database& db, const QString& table) : handle_(db.handle()), query_(handle_)
    {
        // The server takes at most 65,535 values in one statement.
        if (db.onServer())
            rows_ = static_cast<int>(60000 / Schema::fieldsOf(table).size());
        table_ = table;
        statement_ = insertInto(table, rows_);
        query_.prepare(statement_);
    }
    DbResult add(const QVariantList& values)
    {
        for (const QVariant& v : values)
            query_.bindValue(bound_++, v);
        if (++pending_ < rows_)
            return {};
        pending_ = 0;
        bound_ = 0;
        if (!query_.exec())
            return DbError{statement_.left(200), query_.lastError().text()};
        return {};
    }
    DbResult flush()
    {
        if (pending_ == 0)
            return {};
        QSqlQuery rest(handle_);
        const QString statement = insertInto(table_, pending_);
        rest.prepare(statement);
        for (int i = 0; i < bound_; ++i)
            rest.bindValue(i, query_.boundValue(i));
        pending_ = 0;
        bound_ = 0;
        if (!rest.exec())
            return DbError{statement.left(200), rest.lastError().text()};
        return {};
    }

private:
    QString table_;
    QString statement_;
    QSqlDatabase handle_;
    QSqlQuery query_;
    int rows_ = 1;
    int pending_ = 0;
    int bound_ = 0;
};

DbResult flushed(std::initializer_list<Inserter*> inserters)
{
    for (Inserter* inserter : inserters)
        if (DbResult r = inserter->flush(); !r.ok())
            return r;
    return {};
}

QString code(int n, int width)
{
    return QString::number(n).rightJustified(width, u'0');
}
} // namespace

QString BusyYear::productCode(int p)
{
    return QStringLiteral("49") + code(p, 11);
}

DbResult BusyYear::writeCategories(Database& db)
{
    DbResult r;
    const QString stamps = QStringLiteral("'20260101', '09:00:00', '20260101', '09:00:00')");
    for (int m = 1; r.ok() && m <= 9; ++m) {
        const QString major = QString::number(m);
        r = db.execute("INSERT INTO MBMBRL VALUES (?, ?, ?, ' ', " + stamps,
                       {major, "大分類" + major, "大" + major});
        for (int n = m * 100; r.ok() && n < m * 100 + 20; ++n)
            r = db.execute("INSERT INTO MBMBRM VALUES (?, ?, ?, ?, ' ', ' ', ' ', " + stamps,
                           {QString::number(n), "中分類" + QString::number(n),
                            "中" + QString::number(n), major});
    }
    return r;
}

DbResult BusyYear::write(Database& db) const
{
    const QString store = QStringLiteral("01");
    const QString reg = QStringLiteral("01");
    const QString blank = QStringLiteral(" ");
    {
        Transaction transaction(db);
        Inserter product(db, QStringLiteral("MBMSHO"));
        for (int p = 0; p < products; ++p) {
            const int major = 1 + p % 9;
            QVariantList v{QStringLiteral("49") + code(p, 11),
                           QStringLiteral("商品%1").arg(p),
                           QStringLiteral("品%1").arg(p),
                           QString::number(major),
                           QString::number(major) + code(p % 20, 2),
                           blank,
                           QStringLiteral("70"),
                           QStringLiteral("20260101"),
                           QStringLiteral("99999999"),
                           blank,
                           QString::number(100 + p % 900),
                           QStringLiteral("20260101"),
                           QStringLiteral("4"),
                           0,
                           blank,
                           blank,
                           blank,
                           blank,
                           blank,
                           blank,
                           QStringLiteral("20260101"),
                           QStringLiteral("09:00:00"),
                           QStringLiteral("20260101"),
                           QStringLiteral("09:00:00"),
                           major == 1 ? QStringLiteral("1") : QStringLiteral("0")};
            if (DbResult r = product.add(v); !r.ok())
                return r;
        }
        if (DbResult r = product.flush(); !r.ok())
            return r;
        if (DbResult r = transaction.commit(); !r.ok())
            return r;
    }

    for (int d = 0; d < days; ++d) {
        const QDate day = firstDay.addDays(d);
        const QString date = day.toString(QStringLiteral("yyyyMMdd"));
        const QString period = date.mid(3, 3);
        Transaction transaction(db);
        Inserter header(db, QStringLiteral("MOMURA"));
        Inserter line(db, QStringLiteral("MOVURA"));
        Inserter credit(db, QStringLiteral("MDMURK"));
        Inserter deposit(db, QStringLiteral("MOMNYK"));
        Inserter depositLine(db, QStringLiteral("MOVNYK"));
        Inserter payment(db, QStringLiteral("MOMSYK"));
        Inserter paymentLine(db, QStringLiteral("MOVSYK"));
        int sequence = day.day() * 1000;
        for (int s = 0; s < salesPerDay; ++s) {
            const QString receipt = period + code(++sequence % 100000, 5);
            const QString kind = s % 20 == 0   ? QStringLiteral("11009")
                                 : s % 33 == 0 ? QStringLiteral("20000")
                                 : s % 50 == 0 ? QStringLiteral("30000")
                                               : QStringLiteral("11000");
            const QString time = QTime(9, 0).addSecs(s * 40).toString(QStringLiteral("HH:mm:ss"));
            double total = 0;
            for (int l = 1; l <= linesPerSale; ++l) {
                const int p = (s * 7 + l * 131 + d) % products;
                const double price = 100 + p % 900;
                const bool reduced = 1 + p % 9 == 1;
                const QVariant rate = reduced           ? QVariant(0.08)
                                      : day < ratesFrom ? QVariant()
                                                        : QVariant(0.1);
                const double base = std::trunc(price / (reduced ? 1.08 : 1.1) + 0.9);
                total += price;
                QVariantList v{store,
                               reg,
                               receipt,
                               code(l, 3),
                               QStringLiteral("0001"),
                               kind.endsWith(u'9') ? QStringLiteral("9") : blank,
                               QStringLiteral("49") + code(p, 11),
                               QStringLiteral("商品%1").arg(p),
                               QString::number(1 + p % 9),
                               QString::number(1 + p % 9) + code(p % 20, 2),
                               QString(),
                               blank,
                               base,
                               base,
                               1.0,
                               blank,
                               price,
                               price - base,
                               price,
                               price - base,
                               70.0,
                               blank,
                               date,
                               date,
                               time,
                               date,
                               time,
                               rate};
                if (DbResult r = line.add(v); !r.ok())
                    return r;
            }
            const double paid = kind == QLatin1String("20000")   ? 1000
                                : kind == QLatin1String("30000") ? 0
                                                                 : total;
            QVariantList h{store,
                           reg,
                           receipt,
                           code(linesPerSale, 3),
                           QStringLiteral("0001"),
                           blank,
                           kind,
                           blank,
                           total,
                           paid,
                           paid - total,
                           blank,
                           paid,
                           total - paid,
                           blank,
                           total,
                           total / 11,
                           0.0,
                           date,
                           date,
                           time,
                           date,
                           time};
            if (DbResult r = header.add(h); !r.ok())
                return r;
            if (kind.startsWith(u'2') || kind.startsWith(u'3')) {
                if (DbResult r = credit.add(h); !r.ok())
                    return r;
            }
        }
        for (int which = 0; which < 2; ++which) {
            Inserter& head = which == 0 ? deposit : payment;
            Inserter& lines = which == 0 ? depositLine : paymentLine;
            const int count = which == 0 ? depositsPerDay : paymentsPerDay;
            for (int m = 0; m < count; ++m) {
                const QString receipt = period + code(++sequence % 100000, 5);
                const double amount = 1000 + m * 10;
                QVariantList h{store,
                               reg,
                               receipt,
                               QStringLiteral("001"),
                               QStringLiteral("0001"),
                               blank,
                               QStringLiteral("70000"),
                               blank,
                               amount,
                               amount,
                               0.0,
                               blank,
                               amount,
                               0.0,
                               blank,
                               amount * 0.9,
                               amount * 0.1,
                               blank,
                               date,
                               date,
                               QStringLiteral("20:00:00"),
                               date,
                               QStringLiteral("20:00:00")};
                if (DbResult r = head.add(h); !r.ok())
                    return r;
                QVariantList l{store,
                               reg,
                               receipt,
                               QStringLiteral("001"),
                               QStringLiteral("0001"),
                               blank,
                               QStringLiteral("0001"),
                               QStringLiteral("雑収入"),
                               blank,
                               QStringLiteral("0001"),
                               QStringLiteral("取引先"),
                               blank,
                               amount,
                               amount,
                               1.0,
                               blank,
                               amount * 0.9,
                               amount * 0.1,
                               amount * 0.9,
                               amount * 0.1,
                               QStringLiteral("**"),
                               blank,
                               date,
                               date,
                               QStringLiteral("20:00:00"),
                               date,
                               QStringLiteral("20:00:00")};
                if (DbResult r = lines.add(l); !r.ok())
                    return r;
            }
        }
        if (DbResult r =
                flushed({&header, &line, &credit, &deposit, &depositLine, &payment, &paymentLine});
            !r.ok())
            return r;
        if (DbResult r = transaction.commit(); !r.ok())
            return r;
    }
    return {};
}

bool BusyYear::prepare(const QString& folder,
                       const std::function<DbResult(Database&)>& alsoWhenNew) const
{
    QDir().mkpath(folder);
    Database::setFolder(QFileInfo(folder).absoluteFilePath());
    const bool server = DatabaseSettings::current().onServer();
    bool fresh = !server && !QFileInfo::exists(Database::filePath());
    if (const auto failure = Schema::prepareDatabase()) {
        std::fprintf(stderr, "%s\n", qPrintable(*failure));
        return false;
    }
    Database db;
    QList<QVariantList> stored;
    if (!db.open().ok() ||
        (server && !db.select(QStringLiteral("SELECT count(*) FROM MBMSHO"), {}, stored).ok())) {
        std::fprintf(stderr, "cannot open the database of %s\n", qPrintable(folder));
        return false;
    }
    if (server)
        fresh = stored.value(0).value(0).toLongLong() == 0;
    if (!fresh)
        return true;
    QElapsedTimer filling;
    filling.start();
    DbResult r = write(db);
    if (r.ok() && alsoWhenNew)
        r = alsoWhenNew(db);
    if (!r.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(r.error().describe()));
        return false;
    }
    std::printf("filled %s in %.1f s\n",
                qPrintable(server ? DatabaseSettings::current().place() : Database::filePath()),
                filling.elapsed() / 1000.0);
    return true;
}

SaleDraft BusyYear::tenLineSale(const QString& store, const QString& registerCode,
                                const QString& receipt, const QString& businessDate)
{
    SaleDraft draft;
    draft.store = store;
    draft.registerCode = registerCode;
    draft.receipt = receipt;
    draft.staffCode = QStringLiteral("0001");
    draft.businessDate = businessDate;
    for (int l = 0; l < 10; ++l)
        draft.lines << SaleLine::make(productCode(l * 997), QStringLiteral("商品%1").arg(l),
                                      100 + l * 10, QStringLiteral("2"), 0.1, QStringLiteral("1"),
                                      QStringLiteral("101"), 70);
    draft.tendered = 10000;
    draft.moment = Clock::now();
    return draft;
}
