#pragma once

#include "Fixture.h"
#include "reports/ProductGraph.h"
#include "reports/RegisterTotals.h"

// Records and readings for the report tests.

// A receipt header of MOMURA, MOMNYK or MOMSYK.
struct Header {
    QString table = QStringLiteral("MOMURA");
    QString store = QStringLiteral("01");
    QString registerCode = QStringLiteral("01");
    QString receipt = {};
    QString date = {}; // business date
    QString code = QStringLiteral("11000");
    double amount = 0;   // CF09
    double paidNow = 0;  // CF13
    double onCredit = 0; // CF14
    double tax = 0;      // CF17
    QString staff = QStringLiteral("0001");
    QString time = QStringLiteral("10:00:00");
    QString written = {}; // posting date, the business date when empty
};
void addHeader(Database& db, const Header& h);

// A line of MOVURA, MOVNYK or MOVSYK.
struct Line {
    QString table = QStringLiteral("MOVURA");
    QString store = QStringLiteral("01");
    QString registerCode = QStringLiteral("01");
    QString receipt = {};
    QString number = QStringLiteral("001");
    QString date = {};                  // business date
    QString kind = QStringLiteral(" "); // "9" for a returned line
    QString product = QStringLiteral("4900000000001");
    QString name = QStringLiteral("商品");
    QString major = QStringLiteral("1");
    QString middle = QStringLiteral("101");
    double base = 0;      // CF13
    double unitBase = 0;  // CF14
    double quantity = 1;  // CF15
    double amount = 0;    // CF17
    double unitPrice = 0; // CF19
    double cost = 0;      // CF21
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
