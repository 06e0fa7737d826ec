#pragma once

#include "Fixture.h"
#include "pos/CounterScreen.h"

// A receipt maker that keeps every sale handed to it and answers with the
// outcome the test sets; it stands in for the receipt layer while it lives.
class ReceiptsSeen {
public:
    explicit ReceiptsSeen(ReceiptOutcome answer = printed());
    ~ReceiptsSeen();
    ReceiptsSeen(const ReceiptsSeen&) = delete;
    ReceiptsSeen& operator=(const ReceiptsSeen&) = delete;

    static ReceiptOutcome printed();
    static ReceiptOutcome pdf(const QString& path);
    static ReceiptOutcome failed(const QString& reason);

    QList<FinishedSale> sales;
    ReceiptOutcome answer;

private:
    ReceiptMaker before_;
};

// A product priced for the counter: code, name, price, categories, cost.
void addCounterProduct(Database& db, const QString& code, const QString& name, const QString& price,
                       const QVariantMap& more = {});

// The operator's keys on a counter screen.
struct Counter {
    Screens& screens;

    EntryField* field(const char* name) { return screens.field(QString::fromLatin1(name)); }
    QString text(const char* name);
    // Code, Enter, the price when given (else the one proposed), Enter,
    // the quantity, Enter.
    void sell(const QString& code, const QString& quantity = QStringLiteral("1"),
              const QString& price = QString());
    // "+", then the amount into the tendered field and Enter.
    void tender(const QString& amount);
    void option(int n);
    void post();
};
Q_DECLARE_METATYPE(ReceiptOutcome)
