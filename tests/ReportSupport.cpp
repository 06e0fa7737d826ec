#include "ReportSupport.h"

#include "data/Conversions.h"

#include <QAbstractItemView>
#include <QRandomGenerator>

namespace {
void run(Database& db, const QString& sql, const QVariantList& values)
{
    if (DbResult r = db.execute(sql, values); !r.ok())
        qFatal("%s", qPrintable(r.error().describe()));
}

// The records of a table on one date of the store and register.
QList<QVariantMap> ofDay(Database& db, const QString& table, const StoreRegister& where,
                         const QString& dateField, const QString& date, const QString& more = {})
{
    return rows(db,
                QStringLiteral("SELECT * FROM %1 WHERE CF01 = ? AND CF02 = ? AND %2 = ?%3")
                    .arg(table, dateField, more),
                {where.store, where.registerCode, date});
}

double number(const QVariantMap& record, const char* field)
{
    return record.value(QLatin1String(field)).toDouble();
}
} // namespace

void addHeader(Database& db, const Header& h)
{
    const QString written = h.written.isEmpty() ? h.date : h.written;
    run(db,
        QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, '001', ?, ' ', ?, ' ', ?, ?, ?, ' ', ?, ?, "
                       "' ', ?, ?, 0, ?, ?, ?, ?, ?)")
            .arg(h.table),
        {h.store, h.registerCode, h.receipt, h.staff, h.code, h.amount, h.paidNow,
         h.paidNow - h.amount, h.paidNow, h.onCredit, h.amount, h.tax, h.date, written, h.time,
         written, h.time});
}

void addLine(Database& db, const Line& l)
{
    run(db,
        QStringLiteral(
            "INSERT INTO %1 VALUES (?, ?, ?, ?, '0001', ?, ?, ?, ?, ?, '', ' ', ?, ?, ?, "
            "' ', ?, ?, ?, ?, ?, ' ', ?, ?, ?, ?, ?)")
            .arg(l.table),
        QVariantList() << l.store << l.registerCode << l.receipt << l.number << l.kind << l.product
                       << l.name << l.major << l.middle << l.base << l.unitBase << l.quantity
                       << l.amount << l.amount - l.base << l.unitPrice << l.unitPrice - l.unitBase
                       << l.cost << l.date << l.date << l.time << l.date << l.time);
}

std::vector<RegisterDay> registerByDay(Database& db, const StoreRegister& where,
                                       const QStringList& dates)
{
    std::vector<RegisterDay> days;
    for (const QString& date : dates) {
        RegisterDay d;
        d.date = date;
        const QList<QVariantMap> receipts = ofDay(db, "MOMURA", where, "CF19", date);
        d.customers = double(receipts.size());
        for (const QVariantMap& h : receipts) {
            const QString code = h.value("CF07").toString();
            if (code.startsWith(u'1'))
                (code.endsWith(u'9') ? d.returns : d.sales) += number(h, "CF09");
            if (code.startsWith(u'2'))
                d.partialPayments += number(h, "CF13");
            if (code.startsWith(u'2') || code.startsWith(u'3'))
                d.credit += number(h, "CF14");
            for (const QVariantMap& l :
                 rows(db, "SELECT CF15 FROM MOVURA WHERE CF01 = ? AND CF02 = ? AND CF03 = ?",
                      {where.store, where.registerCode, h.value("CF03")}))
                d.items += number(l, "CF15");
        }
        for (const QVariantMap& r : ofDay(db, "MOMNYK", where, "CF19", date))
            d.deposits += number(r, "CF09");
        for (const QVariantMap& r : ofDay(db, "MOMSYK", where, "CF19", date))
            d.payments += number(r, "CF09");
        days.push_back(d);
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
        for (const QVariantMap& l : ofDay(db, "MOVURA", where, "CF23", date, " AND CF06 <> '9'")) {
            const double k = Conversions::toNumber(l.value("CF09").toString());
            const qsizetype column = !middleCodes.isEmpty() ? middleCodes.indexOf(l.value("CF10"))
                                     : k == 0               ? 9
                                     : k >= 1 && k <= 9 && k == int(k) ? qsizetype(k) - 1
                                                                       : -1;
            if (column >= 0)
                sums[size_t(column)] += number(l, "CF17");
        }
        days.push_back(sums);
    }
    return days;
}

ProductGraph::DayTotals graphByLine(Database& db, const QString& product, const QString& middle,
                                    const QString& month, ProductGraph::Figure figure,
                                    bool netReturns)
{
    ProductGraph::DayTotals totals{};
    QVariantList values{middle, month + "00", month + "99"};
    if (!product.isEmpty())
        values << product;
    for (const QVariantMap& l :
         rows(db,
              QStringLiteral("SELECT * FROM MOVURA WHERE CF10 = ? AND CF23 >= ? AND CF23 <= ?") +
                  (product.isEmpty() ? QString() : QStringLiteral(" AND CF07 = ?")),
              values)) {
        const int day = int(Conversions::toNumber(l.value("CF23").toString().right(2)));
        const double cost = number(l, "CF21") * number(l, "CF15");
        const double value = figure == ProductGraph::Figure::SalesWithTax ? number(l, "CF17")
                             : figure == ProductGraph::Figure::CostOfSales
                                 ? cost
                                 : number(l, "CF13") - cost;
        if (day >= 1 && day <= 31 && l.value("CF06") != "9")
            totals[size_t(day - 1)] += value;
        else if (day >= 1 && day <= 31 && netReturns)
            totals[size_t(day - 1)] -= value;
    }
    return totals;
}

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
    const QStringList stores{"01", "01", "01", "01", "02"};
    const QStringList registers{"01", "01", "01", "01", "02"};
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
        Header h{table, pick(stores), pick(registers), QString::number(10000000 + n), pick(dates)};
        h.code = table == "MOMURA" ? pick(codes) : "70000";
        h.amount = random.bounded(1, 20000);
        h.paidNow = random.bounded(0, 20000);
        h.onCredit = random.bounded(0, 20000);
        addHeader(db, h);
        const int lines = table == "MOMURA" ? random.bounded(0, 5) : 0;
        for (int i = 1; i <= lines; ++i) {
            // Most lines carry their receipt's date; some do not.
            const QString date = random.bounded(6) == 0 ? pick(dates) : h.date;
            addLine(db, {"MOVURA", h.store, h.registerCode, h.receipt,
                         QString::number(i).rightJustified(3, u'0'), date, pick(kinds),
                         pick(products), "商品", pick(majors), pick(middles),
                         double(random.bounded(0, 25000)), 0, double(random.bounded(-2, 6)),
                         double(random.bounded(-500, 30000)), 0, double(random.bounded(0, 300))});
        }
    }
    if (!transaction.commit().ok())
        qFatal("cannot write the month");
}

QList<QStringList> gridCells(Screens& screens, const QString& name)
{
    QList<QStringList> cells;
    auto* view = screens.find<QAbstractItemView>(name);
    if (!view)
        return cells;
    const QAbstractItemModel* model = view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c)
            row << model->index(r, c).data().toString();
        cells << row;
    }
    return cells;
}
