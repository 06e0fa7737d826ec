#pragma once

#include "reports/ReportQuery.h"

// One business day's receipts of this store and register, or of every
// register of the store by register (sales, returns, deposits and payments),
// in posting order, each followed by its lines, with a summary of the day.
// The headers are gathered in the work table MWMXPP, where each register
// running the dump keeps rows of its own.
namespace ReceiptDump {

// The receipt a row of the listing shows or lists a line of: its header
// table, register and number. All are empty on a blank row.
struct Owner {
    QString table;
    QString registerCode;
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

// Empties the work rows of the store's register `running` and fills them
// with the day's headers of `where`, both in one transaction, then reads
// them back by register and in posting order with the lines of each receipt.
// A listing of every register shows each receipt's register before its
// number. `blankRows` adds an empty row after each receipt.
DbResult run(Database& db, const StoreRegister& where, const QString& running, const QString& date,
             bool blankRows, Listing& out);

} // namespace ReceiptDump
