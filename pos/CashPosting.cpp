#include "pos/CashPosting.h"

QString cashHeaderTable(CashDirection direction)
{
    return direction == CashDirection::Deposit ? QStringLiteral("MOMNYK")
                                               : QStringLiteral("MOMSYK");
}

QString cashLineTable(CashDirection direction)
{
    return direction == CashDirection::Deposit ? QStringLiteral("MOVNYK")
                                               : QStringLiteral("MOVSYK");
}

QVariantMap cashHeader(const CashDraft& d)
{
    const CashTotals totals = d.totals();
    const QString blank = QStringLiteral(" ");
    return d.header(d.lines.size(), {
                                        {"CF06", blank},
                                        {"CF07", QStringLiteral("70000")},
                                        {"CF08", blank},
                                        {"CF09", totals.total},
                                        {"CF10", d.tendered},
                                        {"CF11", d.tendered - totals.total},
                                        {"CF12", blank},
                                        {"CF13", totals.total},
                                        {"CF14", 0.0},
                                        {"CF15", blank},
                                        {"CF16", totals.total - totals.tax},
                                        {"CF17", totals.tax},
                                        {"CF18", blank},
                                    });
}

QList<QVariantMap> cashLineRecords(const CashDraft& d)
{
    const QString blank = QStringLiteral(" ");
    QList<QVariantMap> records;
    int number = 0;
    for (const CashLine& line : d.lines) {
        const double tax = cashTax(line.amount, d.taxRate);
        const double unitTax = cashTax(line.unitAmount, d.taxRate);
        records << d.line(++number, {
                                        {"CF06", blank},
                                        {"CF07", line.accountCode},
                                        {"CF08", line.accountName},
                                        {"CF09", line.memo},
                                        {"CF10", line.partnerCode},
                                        {"CF11", line.partnerName},
                                        {"CF12", blank},
                                        {"CF13", line.amount},
                                        {"CF14", line.unitAmount},
                                        {"CF15", line.quantity},
                                        {"CF16", blank},
                                        {"CF17", line.amount - tax},
                                        {"CF18", tax},
                                        {"CF19", line.unitAmount - unitTax},
                                        {"CF20", unitTax},
                                        {"CF21", QStringLiteral("**")},
                                        {"CF22", blank},
                                    });
    }
    return records;
}

PostingResult postCashMovement(Database& db, const CashDraft& d)
{
    return postReceipt(db, d.key(),
                       {{cashHeaderTable(d.direction), {cashHeader(d)}},
                        {cashLineTable(d.direction), cashLineRecords(d)}});
}

FinishedCashMovement finishedCashMovement(const CashDraft& d, const QString& staffName)
{
    FinishedCashMovement movement;
    movement.direction = d.direction;
    for (const CashLine& line : d.lines)
        movement.lines << CashReceiptLine{line.accountCode, line.accountName,  line.partnerCode,
                                          line.amount,      line.quantityText, line.quantity,
                                          line.unitAmount};
    movement.total = d.totals().total;
    movement.tendered = d.tendered;
    movement.change = d.tendered - movement.total;
    movement.receiptNumber = d.receipt;
    movement.staffName = staffName;
    movement.moment = d.moment;
    return movement;
}
