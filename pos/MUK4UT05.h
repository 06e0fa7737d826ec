#pragma once

#include "pos/CashPosting.h"
#include "pos/CounterScreen.h"
#include "pos/LineList.h"

// Deposits at the counter: each line names an account, a memo, a partner
// and an amount times a quantity; the money handed over is checked as for a
// cash sale. The payment screen is this screen with the money going out.
class MUK4UT05 : public CounterScreen {
    Q_OBJECT
public:
    explicit MUK4UT05(Navigator& navigator);

protected:
    // What sets the payment screen apart from the deposit screen.
    struct Direction {
        CashDirection direction;
        QString code;
        QString title;
        QString amountCaption; // beside Text6
        QString unitHeading;   // the grid's unit-amount column
        QList<std::pair<int, QString>> jumps;
        QString legend;  // while the account code is entered
        QString subject; // what is posted, for the operator
    };
    MUK4UT05(Navigator& navigator, const Direction& direction);

    QString firstFieldLegend() const override { return direction_.legend; }
    QString subject() const override { return direction_.subject; }
    QWidget* firstField() const override;
    int lineCount() const override { return lines_.count(); }
    QStringList gridRow(int number) const override;
    void lineChosen(int number) override;
    void clearEntry() override;
    void showTotals() override;
    void resetLines() override;
    double amountDue() const override { return totals_.total; }
    void proposeTender() override;
    QString postPrompt() const override;
    PostingResult postTransaction(const QString& receipt, const QDateTime& moment) override;
    ReceiptOutcome makeReceipt() override;
    void loadData() override;
    void areaLock() override;

private:
    void buildEntry();
    void fieldFocused(EntryField* field);
    void accountEntered();
    void partnerEntered();
    void amountEntered();
    void quantityEntered();

    Direction direction_;
    LineList<CashLine> lines_;
    CashTotals totals_;
    CashDraft draft_;
    // The codes whose look-up filled the name fields: a code typed over and
    // never confirmed with Enter makes no line.
    QString accountFound_;
    QString partnerFound_;

    EntryField* Text4;
    QLineEdit* Text5;
    EntryField* Text10;
    EntryField* Text11;
    QLineEdit* Text12;
    EntryField* Text6;
    EntryField* Text7;
    QLabel* LabelS;
    QLabel* LabelZ;
};
