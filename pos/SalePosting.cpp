#include "pos/SalePosting.h"

#include "pos/Tender.h"

namespace {
QString threeDigits(int n)
{
    return QString::number(n + 1000).right(3);
}

QString compactDate(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("yyyyMMdd"));
}

QString timeText(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("HH:mm:ss"));
}
} // namespace

QString transactionCode(Settlement settlement, bool isReturn)
{
    const QString tail = isReturn ? QStringLiteral("9") : QStringLiteral("0");
    switch (settlement) {
    case Settlement::Cash:
        return QStringLiteral("1100") + tail;
    case Settlement::PartialCredit:
        return QStringLiteral("2000") + tail;
    case Settlement::Credit:
        return QStringLiteral("3000") + tail;
    }
    return QStringLiteral("00000");
}

QVariantMap saleHeader(const SaleDraft& d, bool creditRecord)
{
    const SaleTotals totals = d.totals();
    const double difference = d.tendered - totals.total;
    const double paidNow = d.settlement == Settlement::Cash            ? totals.total
                           : d.settlement == Settlement::PartialCredit ? d.tendered
                                                                       : 0.0;
    const QString blank = QStringLiteral(" ");
    const QString date = compactDate(d.moment);
    const QString time = timeText(d.moment);
    return {
        {"CF01", d.store},
        {"CF02", d.registerCode},
        {"CF03", d.receipt},
        {"CF04", threeDigits(static_cast<int>(d.lines.size()))},
        {"CF05", d.staffCode},
        {"CF06", blank},
        {"CF07", transactionCode(d.settlement, d.isReturn)},
        {"CF08", blank},
        {"CF09", totals.total},
        {"CF10", d.tendered},
        {"CF11", difference},
        {"CF12", blank},
        {"CF13", paidNow},
        {"CF14", onCredit(d.settlement) ? -difference : 0.0},
        {"CF15", blank},
        {"CF16", totals.total},
        {"CF17", totals.tax},
        {"CF18", creditRecord ? totals.base : 0.0},
        {"CF19", d.businessDate},
        {"CF20", date},
        {"CF21", time},
        {"CF22", date},
        {"CF23", time},
    };
}

QList<QVariantMap> saleLineRecords(const SaleDraft& d)
{
    const QString blank = QStringLiteral(" ");
    const QString date = compactDate(d.moment);
    const QString time = timeText(d.moment);
    QList<QVariantMap> records;
    int number = 0;
    for (const SaleLine& line : d.lines) {
        records << QVariantMap{
            {"CF01", d.store},
            {"CF02", d.registerCode},
            {"CF03", d.receipt},
            {"CF04", threeDigits(++number)},
            {"CF05", d.staffCode},
            {"CF06", d.isReturn ? QStringLiteral("9") : blank},
            {"CF07", line.code},
            {"CF08", line.name},
            {"CF09", line.major},
            {"CF10", line.middle},
            {"CF11", QStringLiteral("")},
            {"CF12", blank},
            {"CF13", line.baseAmount},
            {"CF14", line.unitBase},
            {"CF15", line.quantity},
            {"CF16", blank},
            {"CF17", line.amount},
            {"CF18", line.tax},
            {"CF19", line.unitPrice},
            {"CF20", line.unitPrice - line.unitBase},
            {"CF21", line.cost},
            {"CF22", blank},
            {"CF23", d.businessDate},
            {"CF24", date},
            {"CF25", time},
            {"CF26", date},
            {"CF27", time},
        };
    }
    return records;
}

QList<TableWrite> saleWrites(const SaleDraft& d)
{
    QList<TableWrite> writes{{QStringLiteral("MOMURA"), {saleHeader(d)}},
                             {QStringLiteral("MOVURA"), saleLineRecords(d)}};
    if (onCredit(d.settlement))
        writes << TableWrite{QStringLiteral("MDMURK"), {saleHeader(d, true)}};
    return writes;
}

PostingResult postSale(Database& db, const SaleDraft& d)
{
    return postReceipt(db, {d.store, d.registerCode, d.receipt}, saleWrites(d));
}

FinishedSale finishedSale(const SaleDraft& d, const QString& staffName)
{
    const SaleTotals totals = d.totals();
    FinishedSale sale;
    sale.isReturn = d.isReturn;
    for (const SaleLine& line : d.lines)
        sale.lines << SaleReceiptLine{line.name, line.amount, line.quantityText, line.quantity,
                                      line.unitPrice};
    sale.taxTotal = totals.tax;
    sale.amountDue = totals.total;
    sale.settlement = d.settlement;
    sale.tendered = d.tendered;
    sale.difference = d.tendered - totals.total;
    sale.receiptNumber = d.receipt;
    sale.staffName = staffName;
    sale.moment = d.moment;
    return sale;
}
