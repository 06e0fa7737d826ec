#include "ReportSupport.h"

#include "data/Conversions.h"
#include "data/RecordSet.h"

#include <QAbstractItemView>
#include <QRandomGenerator>

namespace {
void run(Database& db, const QString& sql, const QVariantList& values)
{
    if (DbResult r = db.execute(sql, values); !r.ok())
        qFatal("%s", qPrintable(r.error().describe()));
}

QString placeholders(int n)
{
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(u',');
}

Select dayOf(const QString& table, const StoreRegister& where, const QString& dateField,
             const QString& date)
{
    return Select(table)
        .where(QStringLiteral("CF01"), QStringLiteral("="), where.store)
        .where(QStringLiteral("CF02"), QStringLiteral("="), where.registerCode)
        .where(dateField, QStringLiteral("="), date);
}

void open(RecordSet& rs, const Select& select)
{
    if (DbResult r = rs.open(select); !r.ok())
        qFatal("%s", qPrintable(r.error().describe()));
}
} // namespace

void addHeader(Database& db, const Header& h)
{
    const QString written = h.written.isEmpty() ? h.date : h.written;
    run(db,
        QStringLiteral("INSERT INTO %1 (CF01, CF02, CF03, CF04, CF05, CF06, CF07, CF08, CF09, "
                       "CF10, CF11, CF12, CF13, CF14, CF15, CF16, CF17, CF18, CF19, CF20, CF21, "
                       "CF22, CF23) VALUES (%2)")
            .arg(h.table, placeholders(23)),
        {h.store,
         h.registerCode,
         h.receipt,
         "001",
         h.staff,
         " ",
         h.code,
         " ",
         h.amount,
         h.paidNow,
         h.paidNow - h.amount,
         " ",
         h.paidNow,
         h.onCredit,
         " ",
         h.amount,
         h.tax,
         0,
         h.date,
         written,
         h.time,
         written,
         h.time});
}

void addLine(Database& db, const Line& l)
{
    run(db, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(l.table, placeholders(27)),
        {l.store,     l.registerCode,
         l.receipt,   l.number,
         "0001",      l.kind,
         l.product,   l.name,
         l.major,     l.middle,
         QString(),   " ",
         l.base,      l.unitBase,
         l.quantity,  " ",
         l.amount,    l.amount - l.base,
         l.unitPrice, l.unitPrice - l.unitBase,
         l.cost,      " ",
         l.date,      l.date,
         l.time,      l.date,
         l.time});
}

std::vector<RegisterDay> registerByDay(Database& db, const StoreRegister& where,
                                       const QStringList& dates)
{
    std::vector<RegisterDay> days;
    for (const QString& date : dates) {
        RegisterDay d;
        d.date = date;
        RecordSet sales(db);
        open(sales, dayOf("MOMURA", where, "CF19", date).orderBy({"CF01", "CF02", "CF19", "CF03"}));
        d.customers = static_cast<double>(sales.recordCount());
        for (sales.moveFirst(); !sales.eof(); sales.moveNext()) {
            const QString code = sales.text("CF07");
            if (code.startsWith(u'1') && !code.endsWith(u'9'))
                d.sales += sales.number("CF09");
            if (code.startsWith(u'1') && code.endsWith(u'9'))
                d.returns += sales.number("CF09");
            if (code.startsWith(u'2'))
                d.partialPayments += sales.number("CF13");
            if (code.startsWith(u'2') || code.startsWith(u'3'))
                d.credit += sales.number("CF14");
            RecordSet lines(db);
            open(lines, Select("MOVURA")
                            .where("CF01", "=", where.store)
                            .where("CF02", "=", where.registerCode)
                            .where("CF03", "=", sales.text("CF03")));
            for (lines.moveFirst(); !lines.eof(); lines.moveNext())
                d.items += lines.number("CF15");
        }
        for (const char* table : {"MOMNYK", "MOMSYK"}) {
            RecordSet rs(db);
            open(rs, dayOf(table, where, "CF19", date));
            for (rs.moveFirst(); !rs.eof(); rs.moveNext())
                (QLatin1String(table) == "MOMNYK" ? d.deposits : d.payments) += rs.number("CF09");
        }
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
        auto select = [&] { return dayOf("MOVURA", where, "CF23", date).where("CF06", "<>", "9"); };
        RecordSet rs(db);
        if (middleCodes.isEmpty()) {
            open(rs, select());
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                const double k = Conversions::toNumber(rs.text("CF09"));
                if (k == 0)
                    sums[9] += rs.number("CF17");
                else if (k >= 1 && k <= 9 && k == int(k))
                    sums[int(k) - 1] += rs.number("CF17");
            }
        } else {
            const bool fifth = middleCodes.back().endsWith(QLatin1String("00"));
            open(rs, select()
                         .where("CF10", ">=", middleCodes.front())
                         .where("CF10", "<=", middleCodes[fifth ? 18 : 19]));
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                const qsizetype at = middleCodes.indexOf(rs.text("CF10"));
                if (at >= 0)
                    sums[size_t(at)] += rs.number("CF17");
            }
            if (fifth) {
                open(rs, select().where("CF10", "=", middleCodes.back()));
                for (rs.moveFirst(); !rs.eof(); rs.moveNext())
                    sums[19] += rs.number("CF17");
            }
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
    Select select("MOVURA");
    if (!product.isEmpty())
        select.where("CF07", "=", product);
    select.where("CF10", "=", middle)
        .where("CF23", ">=", month + "00")
        .where("CF23", "<=", month + "99")
        .orderBy({"CF23", "CF10", "CF11", "CF07"});
    RecordSet rs(db);
    open(rs, select);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const int day = int(Conversions::toNumber(rs.text("CF23").right(2)));
        const double cost = rs.number("CF21") * rs.number("CF15");
        const double value = figure == ProductGraph::Figure::SalesWithTax ? rs.number("CF17")
                             : figure == ProductGraph::Figure::CostOfSales
                                 ? cost
                                 : rs.number("CF13") - cost;
        if (day < 1 || day > 31)
            continue;
        if (rs.text("CF06") == QLatin1String("9")) {
            if (netReturns)
                totals[size_t(day - 1)] -= value;
        } else {
            totals[size_t(day - 1)] += value;
        }
    }
    return totals;
}

void writeAwkwardMonth(Database& db, const QString& month, quint32 seed)
{
    QRandomGenerator random(seed);
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
    int receipt = 0;
    for (int n = 0; n < 400; ++n) {
        Header h;
        h.store = pick(stores);
        h.registerCode = pick(registers);
        h.receipt = QString::number(10000000 + ++receipt);
        h.date = pick(dates);
        const int kind = random.bounded(10);
        h.table = kind == 0 ? "MOMNYK" : kind == 1 ? "MOMSYK" : "MOMURA";
        h.code = h.table == "MOMURA" ? pick(codes) : QStringLiteral("70000");
        h.amount = random.bounded(1, 20000);
        h.paidNow = random.bounded(0, 20000);
        h.onCredit = random.bounded(0, 20000);
        addHeader(db, h);
        if (h.table != "MOMURA")
            continue;
        const int lines = random.bounded(0, 5);
        for (int i = 1; i <= lines; ++i) {
            Line l;
            l.store = h.store;
            l.registerCode = h.registerCode;
            l.receipt = h.receipt;
            l.number = QString::number(i).rightJustified(3, u'0');
            // Most lines carry their receipt's date; some do not.
            l.date = random.bounded(6) == 0 ? pick(dates) : h.date;
            l.kind = pick(kinds);
            l.product = pick(products);
            l.major = pick(majors);
            l.middle = pick(middles);
            l.quantity = random.bounded(-2, 6);
            l.amount = random.bounded(-500, 30000);
            l.base = random.bounded(0, 25000);
            l.cost = random.bounded(0, 300);
            addLine(db, l);
        }
    }
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
