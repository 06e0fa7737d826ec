#pragma once

#include "reports/ReportQuery.h"

// One business day's receipts of this store and register (sales, returns,
// deposits and payments) in posting order, each followed by its lines, with
// a summary of the day. The headers are gathered in the work table MWMXPP.
namespace ReceiptDump {

// The receipt a row of the listing shows or lists a line of: its header
// table and number. Both are empty on a blank row.
struct Owner {
    QString table;
    QString receipt;
};

struct Listing {
    QList<QStringList> rows; // nine cells each
    QList<Owner> owners;     // one a row
    qint64 receipts = 0;
    QString summary;
};

// The kind text of a header; a null text when a sales code has no kind.
QString kindText(const QString& table, const QString& transactionCode);

// Empties the work table and fills it with the day's headers, both in one
// transaction, then reads it back in posting order with the lines of each
// receipt. `blankRows` adds an empty row after each receipt.
DbResult run(Database& db, const StoreRegister& where, const QString& date, bool blankRows,
             Listing& out);

} // namespace ReceiptDump
