#pragma once

#include "pos/Receipt.h"

#include <QString>

// Where a receipt went, for the message line of the counter screen.
struct ReceiptOutcome {
    enum class Kind {
        Printed, // sent to the default printer
        Pdf,     // no printer is set up: written as a PDF
        Failed,  // nothing came out; the posting stands
    };
    Kind kind = Kind::Failed;
    QString where; // the printer's name or the PDF's path
    // Why it failed, one sentence for the operator. Also set, with Printed
    // or Pdf, when the receipt came out but the template could not keep it.
    QString reason;
    QString detail; // the technical text behind it
    // What the operator is told after the posting of `subject` ("売上", ...).
    QString note(const QString& subject) const;
    // The same after a copy of an earlier receipt, where nothing was posted.
    QString copyNote() const;
};

// Fills the template of the program folder (MUK4ECR1.xlsx for sales and
// returns, MUK4ECR2.xlsx for deposits and payments; a missing one is made
// with the store's name first), saves it over itself and prints it, or
// writes it as a PDF in receipts/ of the program folder when there is no
// printer (ReceiptPrinter::use puts another printer in place). A receipt that
// fails leaves the template as it was.
ReceiptOutcome produceReceipt(const FinishedSale& sale, const QString& programFolder,
                              const QString& storeName);
ReceiptOutcome produceReceipt(const FinishedCashMovement& movement, const QString& programFolder,
                              const QString& storeName);

// A copy of a receipt posted earlier, made the same way with "【再発行】"
// below the heading; its PDF is <receipt number>-copy.pdf, beside the
// original's, or <register>-<receipt number>-copy.pdf for another register's.
ReceiptOutcome produceCopy(const FinishedSale& sale, const QString& programFolder,
                           const QString& storeName, const QString& otherRegister = {});
ReceiptOutcome produceCopy(const FinishedCashMovement& movement, const QString& programFolder,
                           const QString& storeName, const QString& otherRegister = {});
