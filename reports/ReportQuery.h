#pragma once

#include "data/Database.h"

#include <QHash>
#include <QSqlQuery>
#include <QStringList>

#include <functional>
#include <optional>

// The store and register whose records a report reads; without a register
// code, every register of the store, for the owner's view of the whole shop.
struct StoreRegister {
    QString store;
    std::optional<QString> registerCode;

    // The condition on the store (CF01) and register (CF02) of the records
    // named `alias` ("h." or none), with its values in order.
    QString condition(QStringView alias = {}) const;
    QVariantList values() const;
};

// Runs one read with bound values and hands over each row of its result.
// The reports read a whole month with grouped statements of this kind
// instead of one statement per day and receipt.
DbResult forEachRow(Database& db, const QString& sql, const QVariantList& values,
                    const std::function<void(const QSqlQuery&)>& row);

// The place of each listed date, so that a grouped row lands on its day and a
// date that is not listed exactly (a stray text between two dates) on none.
QHash<QString, int> dayIndex(const QStringList& dates);
