#pragma once

#include "data/Database.h"
#include "data/RecordSet.h"

#include <QHash>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// The system parameters of MBMSYS, one record per key. A missing record is
// never an error: the reader's default stands and nothing is written.
// The keys of one register (its business day, cashier, receipt sequence and
// printer switch) are read and written as the running register's own
// records; every other key is the shop's.
struct Parameter {
    QString key;
    QString first;  // CB02
    QString second; // CB03
};

class Parameters {
public:
    // Reads the given keys, each with its own query, as the screens do when
    // they are loaded.
    DbResult load(Database& db, const QStringList& keys);

    bool has(const QString& key) const { return records_.contains(key); }
    QString first(const QString& key, const QString& fallback = {}) const;
    QString second(const QString& key, const QString& fallback = {}) const;
    // The leading numeric part of CB02, 0 when there is none.
    double number(const QString& key, double fallback = 0) const;
    // The same of CB03.
    double secondNumber(const QString& key, double fallback = 0) const;

    // Whether the key is kept per register rather than for the shop.
    static bool ofRegister(const QString& key);
    // The records this register sees: the shop's and its own, by key.
    static Select listed();
    // Makes the running register's own records with their first values when
    // it starts for the first time on a server; those of an earlier start
    // are kept as they are.
    static DbResult prepareRegister(Database& db);

    static DbResult read(Database& db, const QString& key, std::optional<Parameter>& out);
    // Changes the fields of an existing record and stamps CB07/CB08 with the
    // moment of the change; a missing record is left missing (found false).
    static DbResult change(Database& db, const QString& key, const QVariantMap& fields,
                           bool* found = nullptr);

private:
    QHash<QString, Parameter> records_;
};
