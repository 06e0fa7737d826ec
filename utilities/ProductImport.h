#pragma once

#include "masters/ProductRules.h"
#include "utilities/ProductCsv.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariantList>

#include <array>
#include <optional>

// A row the import leaves out, with where it fails: its row number as the
// spreadsheet shows it (the headings are row 1), the heading of the column
// and the reason.
struct RefusedRow {
    qsizetype row = 0;
    QString column;
    QString reason;
    QStringList original;
};

// Brings a product list into MBMSHO in two steps: check reads the whole file
// and decides for every row (new, changed, unchanged or refused) without
// writing anything; write then stores every accepted row in one transaction,
// or none. A product is never deleted; a changed one keeps its moving-average
// date and the moment it was added.
class ProductImport {
public:
    enum class Trouble {
        Unreadable,    // the file could not be read (detail: the system's words)
        NotText,       // neither UTF-8 nor Shift_JIS
        Malformed,     // the CSV parser gave up (detail: its words)
        NoHeadings,    // not one row in the file
        MissingColumn, // a column every product needs (detail: its heading)
        Database,      // the engine failed (db)
        Cancelled,
    };
    struct Failure {
        Trouble trouble;
        QString detail;
        std::optional<DbError> db;
    };

    std::optional<Failure> check(Database& db, const QString& path,
                                 const ProductCsv::Progress& progress = {});

    qsizetype added() const { return added_; }
    qsizetype changed() const { return changed_; }
    qsizetype unchanged() const { return unchanged_; }
    const QList<RefusedRow>& refused() const { return refused_; }
    // Whether there is anything to write.
    bool writable() const { return !pending_.isEmpty(); }

    // The refused rows beside the source as <name>-refused.csv: the headings
    // and each row as it stood, with the reason as a last column. Nothing
    // when it was written; else the system's words.
    std::optional<QString> writeRefused() const;
    QString refusedPath() const;

    std::optional<Failure> write(Database& db, const ProductCsv::Progress& progress = {});

private:
    struct Pending {
        bool adding = false;
        QVariantList values; // in the order of the statement that writes it
    };
    std::optional<Failure> readStored(Database& db);
    void take(qsizetype row, const QStringList& record);
    static QVariantMap storedRecord(const QVariantList& values);
    static std::array<qsizetype, 26> filled(qsizetype value)
    {
        std::array<qsizetype, 26> a;
        a.fill(value);
        return a;
    }

    QString path_;
    QStringList headings_;
    std::array<qsizetype, 26> columnAt_ = filled(-1); // field number -> column of the file
    KnownCategories known_;
    QList<QVariantList> stored_;
    QHash<QString, qsizetype> storedAt_; // code -> row of stored_
    QSet<QString> seen_;
    QList<Pending> pending_;
    QList<RefusedRow> refused_;
    qsizetype added_ = 0;
    qsizetype changed_ = 0;
    qsizetype unchanged_ = 0;
};
