#pragma once

#include "data/Database.h"

#include <QList>
#include <QString>

#include <optional>

// One line of a deposit or payment: an account, a memo, a partner and an
// amount per unit times a quantity, every figure fixed when it is confirmed.
struct CashLine {
    QString accountCode;
    QString accountName; // as shown: at most 7 characters, "**" when it was empty
    QString memo;        // one blank when none was entered
    QString partnerCode;
    QString partnerName; // the partner's short name, "**" when it was empty
    double unitAmount = 0;
    QString quantityText; // as confirmed
    double quantity = 0;
    double amount = 0; // unit amount x quantity

    static CashLine make(const QString& accountCode, const QString& accountName,
                         const QString& memo, const QString& partnerCode,
                         const QString& partnerName, double unitAmount,
                         const QString& quantityText);
};

// Deposits and payments take the tax as a plain share of the amount: amount
// x rate, never divided out of it.
inline double cashTax(double amount, double taxRate)
{
    return amount * taxRate;
}

struct CashTotals {
    double total = 0;
    double tax = 0;
};
CashTotals cashTotalsOf(const QList<CashLine>& lines, double taxRate);

// The shown lengths of the names on the deposit and payment screens.
inline constexpr int AccountNameLength = 7;
inline constexpr int PartnerNameLength = 10;

// The account of a code exactly as typed: "1" is not account 0001. Its name
// comes cut to what the screen shows.
DbResult findAccount(Database& db, const QString& typed, std::optional<QString>& name);
// The partner of a four-digit code, with its short name cut to what the
// screen shows.
DbResult findPartner(Database& db, const QString& code, std::optional<QString>& shortName);

// The help lines beside the code fields: every account (partner) but code
// 0000, each as its code, a blank, its name (short name) held to 7 (8)
// characters with ideographic spaces, and one (four) blanks, so that the
// entries line up.
DbResult accountHelp(Database& db, QString& out);
DbResult partnerHelp(Database& db, QString& out);
