#pragma once

#include "data/Database.h"

#include <QHash>
#include <QSqlQuery>
#include <QStringList>

#include <functional>

// The store and register whose records a report reads.
struct StoreRegister {
    QString store;
    QString registerCode;
};

// Runs one read with bound values and hands over each row of its result.
// The reports read a whole month with grouped statements of this kind
// instead of one statement per day and receipt.
DbResult forEachRow(Database& db, const QString& sql, const QVariantList& values,
                    const std::function<void(const QSqlQuery&)>& row);

// The place of each listed date, so that a grouped row lands on its day and a
// date that is not listed exactly (a stray text between two dates) on none.
QHash<QString, int> dayIndex(const QStringList& dates);
