#pragma once

#include "data/Database.h"

#include <QList>
#include <QString>
#include <QStringList>

// What every counter screen reads when it is loaded, with the value that
// stands when a key's record is missing.
struct CounterParameters {
    QString storeCode = QStringLiteral("00");
    QString storeName;
    QString registerCode = QStringLiteral("00");
    QString staffCode = QStringLiteral("0000");
    QString staffName;
    double taxRate = 0;         // the standard rate, "tax" CB02
    double reducedRate = 0;     // "tax" CB03
    QString registrationNumber; // "invoice" CB02, empty when the shop has none
    QString businessDate = QStringLiteral("00000000");
    // "printer" CB02 followed by "00", so that a value shorter than two
    // characters never switches receipts on.
    QString printer = QStringLiteral("0000");

    double rateOf(bool reduced) const { return reduced ? reducedRate : taxRate; }
    bool printsReceipts() const { return printer.size() >= 2 && printer[1] == u'1'; }

    DbResult load(Database& db);
};

// The number the next posted receipt takes: the period code followed by the
// sequence after the stored one; empty when the counter record is missing.
DbResult nextReceiptNumber(Database& db, QString& out);

struct StaffMember {
    QString code;
    QString name;
};

// Everyone who can be chosen as the cashier, by code; code 0000 never is.
DbResult staffList(Database& db, QList<StaffMember>& out);

// Makes the chosen member the cashier of every later screen ("charge").
DbResult chooseCashier(Database& db, const StaffMember& member);
