#pragma once

#include "Fixture.h"
#include "reports/ProductGraph.h"
#include "reports/RegisterTotals.h"

// Records and readings for the report tests.

// A receipt header of MOMURA, MOMNYK or MOMSYK: CF09 amount, CF13 paid now,
// CF14 on credit, CF17 tax; `date` is the business date, `written` the
// posting date (the business date when empty).
struct Header {
    QString table = QStringLiteral("MOMURA"), store = QStringLiteral("01"),
            registerCode = QStringLiteral("01"), receipt = {}, date = {},
            code = QStringLiteral("11000");
    double amount = 0, paidNow = 0, onCredit = 0, tax = 0;
    QString staff = QStringLiteral("0001"), time = QStringLiteral("10:00:00"), written = {};
};
void addHeader(Database& db, const Header& h);

// A line of MOVURA, MOVNYK or MOVSYK: kind "9" for a returned line, CF13
// base, CF14 unit base, CF15 quantity, CF17 amount, CF19 unit price, CF21
// cost.
struct Line {
    QString table = QStringLiteral("MOVURA"), store = QStringLiteral("01"),
            registerCode = QStringLiteral("01"), receipt = {}, number = QStringLiteral("001"),
            date = {}, kind = QStringLiteral(" "), product = QStringLiteral("4900000000001"),
            name = QStringLiteral("商品"), major = QStringLiteral("1"),
            middle = QStringLiteral("101");
    double base = 0, unitBase = 0, quantity = 1, amount = 0, unitPrice = 0, cost = 0;
    QString time = QStringLiteral("10:00:00");
};
void addLine(Database& db, const Line& l);

// The readings the reports are held against: one query per day and per
// receipt, as the screens were first described, without any grouping.
std::vector<RegisterDay> registerByDay(Database& db, const StoreRegister& where,
                                       const QStringList& dates);
std::vector<std::vector<double>> categoriesByDay(Database& db, const StoreRegister& where,
                                                 const QStringList& dates,
                                                 const QStringList& middleCodes);
ProductGraph::DayTotals graphByLine(Database& db, const QString& product, const QString& middle,
                                    const QString& month, ProductGraph::Figure figure,
                                    bool netReturns);

// A month of awkward records: other stores, registers and dates, stray date
// texts, every transaction code, returns, odd category codes.
void writeAwkwardMonth(Database& db, const QString& month, quint32 seed);

// The texts of a report grid as shown, row by row.
QList<QStringList> gridCells(Screens& screens, const QString& name);
