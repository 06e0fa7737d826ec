#pragma once

#include "Fixture.h"
#include "pos/CounterScreen.h"

#include <functional>

// A receipt maker that keeps every sale, deposit and payment handed to it and
// answers with the outcome the test sets; it stands in for the receipt layer
// while it lives.
class ReceiptsSeen {
public:
    explicit ReceiptsSeen(ReceiptOutcome answer = {ReceiptOutcome::Kind::Printed, {}, {}, {}});
    ~ReceiptsSeen() { CounterScreen::setReceiptMaker(before_); }
    Q_DISABLE_COPY(ReceiptsSeen)

    const ReceiptMaker before_ = CounterScreen::receiptMaker();
    QList<FinishedSale> sales;
    QList<FinishedCashMovement> movements;
    ReceiptOutcome answer;
};

inline const QString Bread = QStringLiteral("4900000000011");   // 1000, major 1, middle 101
inline const QString Milk = QStringLiteral("4900000000028");    // 1000, categories not listed
inline const QString Tea = QStringLiteral("4900000000035");     // 540
inline const QString Special = QStringLiteral("4900000000042"); // 1080, 500 all day long

void addCounterProduct(Database& db, const QString& code, const QString& name, const QString& price,
                       QVariantMap more = {});

// Types over the whole text of a field; an empty text empties it.
void typeOver(EntryField* field, const QString& text);

// The operator's keys on a counter screen.
struct Counter {
    Screens& screens;

    EntryField* field(const char* name) { return screens.field(QString::fromLatin1(name)); }
    QString text(const char* name) { return screens.find<QLineEdit>(name)->text(); }
    // What the named fields and labels show, in this order; "focus" names
    // the control that has the keyboard.
    QStringList texts(const QStringList& names) { return screens.shown(names); }
    // Code, Enter, the price when given (else the one proposed), Enter,
    // the quantity, Enter.
    void sell(const QString& code, const QString& quantity = QStringLiteral("1"),
              const QString& price = QString());
    // A deposit's or payment's fields, each confirmed with Enter.
    void book(const QString& account, const QString& partner, const QString& amount,
              const QString& quantity = QStringLiteral("1"), const QString& memo = QString());
    void tender(const QString& amount);
    void option(int n);
    void post() { screens.click(QStringLiteral("RSBTN")); }
};

// A fresh program folder with a shop at tax 0.08 on business day 2026-12-15,
// cashier 0003 (staff 0003 and 0007), receipts off, the last receipt
// 612/00041, the products above, accounts 0000 (never listed), 0001 and
// 0003 (a name longer than the screen shows), partners 0001 and 0005, and a
// counter screen shown.
struct AtTheCounter {
    explicit AtTheCounter(const QString& screen = QStringLiteral("MUK4UT01"),
                          const std::function<void(Database&)>& arrange = {});
    ProgramFolder folder;
    TestDb t;
    Screens screens;
    Counter c{screens};
};
Q_DECLARE_METATYPE(ReceiptOutcome)
