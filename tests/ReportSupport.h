#pragma once

#include "Fixture.h"

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

// The texts of a report grid as shown, row by row.
QList<QStringList> gridCells(Screens& screens, const QString& name);
