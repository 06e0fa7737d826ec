#pragma once

#include "pos/CashLine.h"
#include "pos/Receipt.h"
#include "pos/ReceiptPosting.h"

// A deposit or payment as it is posted: the header to MOMNYK (MOMSYK), one
// record a line to MOVNYK (MOVSYK). The two directions share one layout and
// are told apart by their tables only.
struct CashDraft : ReceiptStamp {
    CashDirection direction = CashDirection::Deposit;
    QList<CashLine> lines;
    double taxRate = 0;
    double tendered = 0;

    CashTotals totals() const { return cashTotalsOf(lines, taxRate); }
};

QString cashHeaderTable(CashDirection direction);
QString cashLineTable(CashDirection direction);

QVariantMap cashHeader(const CashDraft& draft);
QList<QVariantMap> cashLineRecords(const CashDraft& draft);

PostingResult postCashMovement(Database& db, const CashDraft& draft);

// What the receipt of a posted deposit or payment shows.
FinishedCashMovement finishedCashMovement(const CashDraft& draft, const QString& staffName);
