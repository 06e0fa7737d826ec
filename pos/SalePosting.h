#pragma once

#include "pos/Receipt.h"
#include "pos/ReceiptPosting.h"
#include "pos/SaleLine.h"

// A settled sale or return as it is posted to MOMURA, MOVURA and, when
// something goes on credit, MDMURK.
struct SaleDraft : ReceiptStamp {
    bool isReturn = false;
    QList<SaleLine> lines;
    Settlement settlement = Settlement::Cash;
    double tendered = 0;

    SaleTotals totals() const { return totalsOf(lines); }
    double difference() const { return tendered - totals().total; }
};

// "11000", "20000", "30000" for sales; the same ending in 9 for returns.
QString transactionCode(Settlement settlement, bool isReturn);

// The header as MOMURA stores it; creditRecord is the MDMURK variant,
// which carries the base total in CF18.
QVariantMap saleHeader(const SaleDraft& draft, bool creditRecord = false);
QList<QVariantMap> saleLineRecords(const SaleDraft& draft);
QList<TableWrite> saleWrites(const SaleDraft& draft);

PostingResult postSale(Database& db, const SaleDraft& draft);

// What the receipt of a posted sale shows.
FinishedSale finishedSale(const SaleDraft& draft, const QString& staffName, double standardRate,
                          const QString& registrationNumber);
