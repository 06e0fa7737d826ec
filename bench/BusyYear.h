#pragma once

#include "data/Database.h"

#include <QDate>

#include <functional>

// One year of a busy register written through the program's own tables:
// 800 sales receipts of 6 lines a day (some returns, partial payments and
// credit sales among them), 20 deposits and 20 payments a day, and 20,000
// products.
struct BusyYear {
    QDate firstDay;
    int days = 365;
    int salesPerDay = 800;
    int linesPerSale = 6;
    int depositsPerDay = 20;
    int paymentsPerDay = 20;
    int products = 20000;

    DbResult write(Database& db) const;
    // Points the program folder at `folder` and makes its database hold this
    // year, written only when the file is new (with `alsoWhenNew`'s records),
    // so that a large file is made once and reused. Says why on the error
    // output when it cannot.
    bool prepare(const QString& folder,
                 const std::function<DbResult(Database&)>& alsoWhenNew = {}) const;
};
