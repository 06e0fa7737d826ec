#pragma once

#include "data/Database.h"

#include <QVariantMap>

#include <optional>

// The operations every master screen shares: find a record by its key, add
// or change it with the audit fields kept right, and delete it into its
// archive. Every master table carries four audit fields as the last fields
// of its first layout: date and time added, date and time of the last change.
class MasterTable {
public:
    // table: MBMCHR, MBMBRL, ...; its first field is the key.
    explicit MasterTable(QString table);

    const QString& table() const { return table_; }
    QString archive() const { return u'X' + table_.mid(1); }
    const QString& keyField() const { return keyField_; }

    DbResult find(Database& db, const QString& key, std::optional<QVariantMap>& out) const;

    enum class Stored { Added, Changed };
    // Adds the record when the key is not in the table, otherwise changes it.
    // `always` is written in both cases, `onAdd` only to a new record (the key
    // field is always set from `key` on adding). The added pair is stamped on
    // adding only; the change pair on every store.
    DbResult store(Database& db, const QString& key, const QVariantMap& always,
                   const QVariantMap& onAdd = {}, Stored* stored = nullptr) const;

    // Appends the record to the archive with the moment of deletion in its
    // last two fields and deletes it, both or neither. A key that is not in
    // the table changes nothing (deleted false).
    DbResult archiveAndDelete(Database& db, const QString& key, bool* deleted = nullptr) const;

private:
    // One attempt of each write, in its own transaction.
    DbResult storeOnce(Database& db, const QString& key, const QVariantMap& always,
                       const QVariantMap& onAdd, Stored* stored) const;
    DbResult archiveOnce(Database& db, const QString& key, bool* deleted) const;

    QString table_;
    QString keyField_;
    QStringList fields_;
    QStringList audit_; // added date and time, changed date and time
};
