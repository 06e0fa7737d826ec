#include "pos/SalePosting.h"

#include "pos/Tender.h"

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
    return d.header(d.lines.size(), {
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
                                    });
}

QList<QVariantMap> saleLineRecords(const SaleDraft& d)
{
    const QString blank = QStringLiteral(" ");
    QList<QVariantMap> records;
    int number = 0;
    for (const SaleLine& line : d.lines) {
        records << d.line(++number, {
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
                                        {"CF28", line.taxRate},
                                    });
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
    return postReceipt(db, d.key(), saleWrites(d));
}

FinishedSale finishedSale(const SaleDraft& d, const QString& staffName, double standardRate,
                          const QString& registrationNumber)
{
    const SaleTotals totals = d.totals();
    FinishedSale sale;
    sale.isReturn = d.isReturn;
    for (const SaleLine& line : d.lines)
        sale.lines << SaleReceiptLine{line.name,     line.amount,    line.quantityText,
                                      line.quantity, line.unitPrice, line.taxRate,
                                      line.reduced};
    sale.taxTotal = totals.tax;
    sale.amountDue = totals.total;
    sale.settlement = d.settlement;
    sale.tendered = d.tendered;
    sale.difference = d.tendered - totals.total;
    sale.receiptNumber = d.receipt;
    sale.staffName = staffName;
    sale.moment = d.moment;
    sale.standardRate = standardRate;
    sale.registrationNumber = registrationNumber;
    return sale;
}
