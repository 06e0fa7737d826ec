#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// What a counter screen hands over once a transaction is posted: everything
// its receipt shows, already fixed. The receipt layer turns it into the rows
// of the template's active sheet and then into paper or a PDF.

enum class Settlement {
    Cash,          // OP1: change is given
    PartialCredit, // OP2: something paid now, the rest on credit
    Credit,        // OP3: nothing paid now
};

struct SaleReceiptLine {
    QString productName;
    double amount = 0;    // line amount, tax included
    QString quantityText; // the quantity as keyed
    double quantity = 0;
    double unitPrice = 0; // tax included
    double taxRate = 0;
    bool reduced = false;
};

struct FinishedSale {
    bool isReturn = false;
    QList<SaleReceiptLine> lines;
    double taxTotal = 0;
    double amountDue = 0;
    Settlement settlement = Settlement::Cash;
    double tendered = 0;
    double difference = 0; // tendered - amount due
    QString receiptNumber;
    QString staffName;
    QDateTime moment; // from the program's clock
    double standardRate = 0;
    QString registrationNumber; // empty when the shop has none
};

enum class CashDirection { Deposit, Payment };

struct CashReceiptLine {
    QString accountCode;
    QString accountName;
    QString partnerCode;
    double amount = 0;    // amount x quantity
    QString quantityText; // as keyed
    double quantity = 0;
    double unitAmount = 0;
};

struct FinishedCashMovement {
    CashDirection direction = CashDirection::Deposit;
    QList<CashReceiptLine> lines;
    double total = 0;
    double tendered = 0;
    double change = 0; // tendered - total
    QString receiptNumber;
    QString staffName;
    QDateTime moment;
};
