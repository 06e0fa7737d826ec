#pragma once

#include "data/Database.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

// A product as the sales and returns screens price it (MBMSHO).
struct CounterProduct {
    QString code;
    QString name;
    QString major;  // CB04
    QString middle; // CB05
    QString cost;   // CB07, cost unit price as stored
    QString price;  // CB11, the regular price, tax included
    QString kind;   // CB13: "1" period and time, "2" period, "3" time
    QString special;
    QString periodFrom;
    QString periodTo;
    QString timeFrom;
    QString timeTo;
    bool reduced = false; // CB25 "1": taxed at the reduced rate
    // The first price that is no number of the master's eight digits (a
    // hand-edited file), as "CB11 = 1e300"; empty when every price reads.
    QString badValue;

    static CounterProduct fromRecord(const QVariantMap& record);
};

// The digits of the master's prices.
inline constexpr int PriceDigits = 8;

// The look-up of a scanned code; the counter screens take 13 digits only.
DbResult findProduct(Database& db, const QString& code, std::optional<CounterProduct>& out);

// A category beside the product: its code, three blanks (a major category,
// MBMBRL) or one (a middle category, MBMBRM), and its short name when the
// category is in its table.
DbResult categoryLabel(Database& db, const QString& table, const QString& code, QString& out);

// The special price in force at this moment, if any. Dates and times are
// compared as texts, inclusive at both ends.
struct SpecialOffer {
    bool inForce = false;
    QString price; // plain number text of the special price
    QString label; // what LabelZ shows: kind, window and regular price
};
SpecialOffer specialOffer(const CounterProduct& product, const QString& today, const QString& now);

// The tax-excluded regular price at the product's rate and the cost, as
// shown beside the entry.
QString regularPriceNote(const CounterProduct& product, double taxRate);

// One line of a sale or return, every figure fixed when it is confirmed.
struct SaleLine {
    QString code;
    QString name;
    double unitPrice = 0; // tax included
    QString quantityText; // as confirmed
    double quantity = 0;
    double amount = 0;     // unit price x quantity
    double unitBase = 0;   // tax excluded unit price
    double baseAmount = 0; // unit base x quantity
    double tax = 0;        // amount - base amount, never computed from the rate
    QString major;
    QString middle;
    double cost = 0;
    bool special = false; // sold at the special price in force
    double taxRate = 0;   // the rate the line was priced at, kept when it is changed
    bool reduced = false; // the product's class was the reduced rate

    static SaleLine make(const QString& code, const QString& name, double unitPrice,
                         const QString& quantityText, double taxRate, const QString& major,
                         const QString& middle, double cost);
};

struct SaleTotals {
    double total = 0; // the amount due
    double base = 0;
    double tax = 0;
};
SaleTotals totalsOf(const QList<SaleLine>& lines);
