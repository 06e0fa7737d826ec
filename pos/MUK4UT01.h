#pragma once

#include "pos/CounterScreen.h"
#include "pos/LineList.h"
#include "pos/SalePosting.h"

class QRadioButton;

// Sales at the counter: a 13-digit code is looked up and priced (the
// special price when one is in force), the quantity confirmed, and the
// sale settled in cash, partly on credit or on credit.
class MUK4UT01 : public CounterScreen {
    Q_OBJECT
public:
    explicit MUK4UT01(Navigator& navigator);

protected:
    MUK4UT01(Navigator& navigator, const QString& code, const QString& titleText,
             const QList<std::pair<int, QString>>& jumps);

    virtual bool isReturn() const { return false; }
    virtual bool usesSpecialPrices() const { return true; }
    QString firstFieldLegend() const override;
    QString subject() const override;

    QWidget* firstField() const override;
    int lineCount() const override { return lines_.count(); }
    QStringList gridRow(int number) const override;
    void lineChosen(int number) override;
    void decorateRow(int row, int number) override;
    void clearEntry() override;
    void showTotals() override;
    void resetLines() override;
    double amountDue() const override { return totals_.total; }
    Settlement settlement() const override;
    QString postPrompt() const override;
    PostingResult postTransaction(const QString& receipt, const QDateTime& moment) override;
    ReceiptOutcome makeReceipt() override;
    bool closesAfterPosting() const override;
    void areaInit() override;
    void areaAssign() override;

private:
    // The product whose code stands in Text4, as the look-up found it (or
    // as the line being changed carries it).
    struct Priced {
        QString code;
        QString major;
        QString middle;
        double cost = 0;
        QString special; // the special price proposed, empty when none
        bool reduced = false;
        double taxRate = 0; // the product's rate now, or the changed line's own
    };

    void buildEntry();
    void lookUp();
    void priceEntered();
    void quantityEntered();
    void choose(Settlement kind);

    LineList<SaleLine> lines_;
    SaleTotals totals_;
    std::optional<Priced> priced_;
    SaleDraft draft_;

    EntryField* Text4;
    QLineEdit* Text5;
    EntryField* Text6;
    EntryField* Text7;
    QLineEdit* Text10;
    QLineEdit* Text11;
    QLineEdit* Text12;
    QLabel* LabelG1;
    QLabel* LabelG2;
    QLabel* LabelZ;
    QLabel* LabelV;
    QRadioButton* OP1;
    QRadioButton* OP2;
    QRadioButton* OP3;
};
