#pragma once

#include "data/Database.h"
#include "pos/SalePosting.h"

#include <QDate>

#include <functional>

// One year of a busy register written through the program's own tables:
// 800 sales receipts of 6 lines a day (some returns, partial payments and
// credit sales among them), 20 deposits and 20 payments a day, and 20,000
// products. The products of major category 1 are food at the reduced rate
// and their lines carry 8%; the other lines carry 10% from `ratesFrom` on
// and no rate before it, as lines posted before the upgrade.
struct BusyYear {
    QDate firstDay;
    QDate ratesFrom = QDate(2026, 7, 16);
    int days = 365;
    int salesPerDay = 800;
    int linesPerSale = 6;
    int depositsPerDay = 20;
    int paymentsPerDay = 20;
    int products = 20000;

    DbResult write(Database& db) const;
    // The code of the p-th product write() makes.
    static QString productCode(int p);
    // The sale the posting benches time: ten lines of the year's products.
    static SaleDraft tenLineSale(const QString& store, const QString& registerCode,
                                 const QString& receipt, const QString& businessDate);
    // The 9 major and 180 middle categories the products of write() are in.
    static DbResult writeCategories(Database& db);
    // Points the program folder at `folder` and makes its database hold this
    // year, written only when the file is new (with `alsoWhenNew`'s records),
    // so that a large file is made once and reused. Says why on the error
    // output when it cannot.
    bool prepare(const QString& folder,
                 const std::function<DbResult(Database&)>& alsoWhenNew = {}) const;
};
