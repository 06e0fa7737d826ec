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
    QString where;  // the printer's name or the PDF's path
    QString reason; // why it failed, one sentence for the operator
    QString detail; // the technical text behind it
};

// Fills the template of the program folder (MUK4ECR1.xlsx for sales and
// returns, MUK4ECR2.xlsx for deposits and payments; a missing one is made
// with the store's name first), saves it over itself and prints it, or
// writes it as a PDF when there is no printer.
ReceiptOutcome produceReceipt(const FinishedSale& sale, const QString& programFolder,
                              const QString& storeName);
ReceiptOutcome produceReceipt(const FinishedCashMovement& movement, const QString& programFolder,
                              const QString& storeName);
