#pragma once

#include "data/Database.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

// What a counter screen writes for one receipt: records of the transaction
// tables, each carrying the receipt's key in CF01 (store), CF02 (register)
// and CF03 (receipt number).
struct ReceiptKey {
    QString store;
    QString registerCode;
    QString receipt;
};

// What every record of one posted receipt carries besides its own values:
// the key, the cashier, the business day and the moment it is written (from
// the program's clock).
struct ReceiptStamp {
    QString store;
    QString registerCode;
    QString receipt;
    QString staffCode;
    QString businessDate;
    QDateTime moment;

    ReceiptKey key() const { return {store, registerCode, receipt}; }
    // A header record with its own fields (CF06 to CF18) added: the key in
    // CF01 to CF03, the number of lines in CF04, the cashier in CF05, the
    // business date and the moment, twice, in CF19 to CF23.
    QVariantMap header(qsizetype lineCount, const QVariantMap& own) const;
    // A line record with its own fields (CF06 to CF22) added: the key, the
    // line number in CF04, the cashier, the business date and the moment in
    // CF23 to CF27.
    QVariantMap line(int number, const QVariantMap& own) const;
};

struct TableWrite {
    QString table;
    QList<QVariantMap> records; // field -> value; fields left out stay NULL
};

struct PostingResult {
    enum class Outcome {
        Posted,
        Duplicate, // a record under the receipt's key was already there
        Failed,    // the engine refused; see error
    };
    Outcome outcome = Outcome::Failed;
    std::optional<DbError> error;

    bool posted() const { return outcome == Outcome::Posted; }
};

// Writes every record and advances the receipt counter ("receipt" CB03 =
// the receipt number's last five characters) in one transaction: all of it
// lands or none of it. A table that already holds a record under the key
// means the file is damaged; nothing is written then.
PostingResult postReceipt(Database& db, const ReceiptKey& key, const QList<TableWrite>& writes);
