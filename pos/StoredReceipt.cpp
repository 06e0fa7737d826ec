#include "pos/StoredReceipt.h"

#include "data/Conversions.h"
#include "data/Parameters.h"
#include "data/TaxRates.h"

namespace {

const QString KeyCondition = QStringLiteral(" WHERE CF01 = ? AND CF02 = ? AND CF03 = ?");

QVariantList keyValues(const ReceiptKey& key)
{
    return {key.store, key.registerCode, key.receipt};
}

// The header's fields in the order asked for; empty when there is none.
DbResult header(Database& db, const QString& table, const QString& fields, const ReceiptKey& key,
                QVariantList& out)
{
    QList<QVariantList> rows;
    DbResult r = db.select(QStringLiteral("SELECT ") + fields + QStringLiteral(" FROM ") + table +
                               KeyCondition,
                           keyValues(key), rows);
    out = rows.isEmpty() ? QVariantList() : rows.first();
    return r;
}

DbResult lines(Database& db, const QString& table, const QString& fields, const ReceiptKey& key,
               QList<QVariantList>& out)
{
    return db.select(QStringLiteral("SELECT ") + fields + QStringLiteral(" FROM ") + table +
                         KeyCondition + QStringLiteral(" ORDER BY CF04"),
                     keyValues(key), out);
}

// The cashier's name as the staff master has it now; the code when nobody
// has it any more.
DbResult staffName(Database& db, const QString& code, QString& out)
{
    QList<QVariantList> rows;
    DbResult r = db.select(QStringLiteral("SELECT CB02 FROM MBMCHR WHERE CB01 = ?"), {code}, rows);
    out = rows.isEmpty() ? code : rows.first().value(0).toString();
    return r;
}

// The moment the records were written: their date and time fields.
QDateTime written(const QVariant& date, const QVariant& time)
{
    return QDateTime::fromString(date.toString() + time.toString(),
                                 QStringLiteral("yyyyMMddHH:mm:ss"));
}

// The settlement kind is the transaction code's first character.
Settlement settlementOf(const QString& code)
{
    if (code.startsWith(u'2'))
        return Settlement::PartialCredit;
    if (code.startsWith(u'3'))
        return Settlement::Credit;
    return Settlement::Cash;
}

DbResult readSale(Database& db, const ReceiptKey& key, StoredReceipt::Found& out)
{
    QVariantList h;
    if (DbResult r =
            header(db, QStringLiteral("MOMURA"),
                   QStringLiteral("CF05, CF07, CF09, CF10, CF11, CF17, CF20, CF21"), key, h);
        !r.ok() || h.isEmpty())
        return r;
    QList<QVariantList> rows;
    if (DbResult r = lines(db, QStringLiteral("MOVURA"),
                           QStringLiteral("CF08, CF15, CF17, CF19, CF28"), key, rows);
        !r.ok() || rows.isEmpty())
        return r;
    Parameters settings;
    if (DbResult r = settings.load(db, {QStringLiteral("tax"), QStringLiteral("invoice")}); !r.ok())
        return r;
    FinishedSale sale;
    sale.standardRate = settings.number(QStringLiteral("tax"));
    // A line is marked reduced only when the reduced rate is a rate of its
    // own: with both rates the same there is nothing to tell apart.
    const int standard = TaxRates::perMille(sale.standardRate);
    const int reduced = TaxRates::perMille(settings.secondNumber(QStringLiteral("tax")));
    for (const QVariantList& row : rows) {
        const double rate = row.at(4).isNull() ? sale.standardRate : row.at(4).toDouble();
        const double quantity = row.at(1).toDouble();
        sale.lines << SaleReceiptLine{row.at(0).toString(),
                                      row.at(2).toDouble(),
                                      Conversions::plainNumber(quantity),
                                      quantity,
                                      row.at(3).toDouble(),
                                      rate,
                                      reduced != standard && TaxRates::perMille(rate) == reduced};
    }
    const QString code = h.at(1).toString();
    sale.isReturn = code.endsWith(u'9');
    sale.settlement = settlementOf(code);
    sale.amountDue = h.at(2).toDouble();
    sale.tendered = h.at(3).toDouble();
    sale.difference = h.at(4).toDouble();
    sale.taxTotal = h.at(5).toDouble();
    sale.moment = written(h.at(6), h.at(7));
    sale.receiptNumber = key.receipt;
    sale.registrationNumber = settings.first(QStringLiteral("invoice")).trimmed();
    DbResult r = staffName(db, h.at(0).toString(), sale.staffName);
    if (r.ok())
        out = std::move(sale);
    return r;
}

DbResult readCash(Database& db, CashDirection direction, const ReceiptKey& key,
                  StoredReceipt::Found& out)
{
    const bool deposit = direction == CashDirection::Deposit;
    QVariantList h;
    if (DbResult r = header(db, deposit ? QStringLiteral("MOMNYK") : QStringLiteral("MOMSYK"),
                            QStringLiteral("CF05, CF09, CF10, CF11, CF20, CF21"), key, h);
        !r.ok() || h.isEmpty())
        return r;
    QList<QVariantList> rows;
    if (DbResult r = lines(db, deposit ? QStringLiteral("MOVNYK") : QStringLiteral("MOVSYK"),
                           QStringLiteral("CF07, CF08, CF10, CF13, CF14, CF15"), key, rows);
        !r.ok() || rows.isEmpty())
        return r;
    FinishedCashMovement movement;
    movement.direction = direction;
    for (const QVariantList& row : rows) {
        const double quantity = row.at(5).toDouble();
        movement.lines << CashReceiptLine{row.at(0).toString(),
                                          row.at(1).toString(),
                                          row.at(2).toString(),
                                          row.at(3).toDouble(),
                                          Conversions::plainNumber(quantity),
                                          quantity,
                                          row.at(4).toDouble()};
    }
    movement.total = h.at(1).toDouble();
    movement.tendered = h.at(2).toDouble();
    movement.change = h.at(3).toDouble();
    movement.moment = written(h.at(4), h.at(5));
    movement.receiptNumber = key.receipt;
    DbResult r = staffName(db, h.at(0).toString(), movement.staffName);
    if (r.ok())
        out = std::move(movement);
    return r;
}

} // namespace

namespace StoredReceipt {

DbResult read(Database& db, const QString& table, const ReceiptKey& key, Found& out)
{
    out = std::monostate{};
    if (table == QLatin1String("MOMURA"))
        return readSale(db, key, out);
    if (table == QLatin1String("MOMNYK"))
        return readCash(db, CashDirection::Deposit, key, out);
    if (table == QLatin1String("MOMSYK"))
        return readCash(db, CashDirection::Payment, key, out);
    return {};
}

} // namespace StoredReceipt
