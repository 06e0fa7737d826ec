#pragma once

#include "data/Database.h"

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
