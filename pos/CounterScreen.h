#pragma once

#include "pos/CounterParameters.h"
#include "pos/ReceiptOutput.h"
#include "pos/ReceiptPosting.h"
#include "pos/Tender.h"
#include "shell/Screen.h"

#include <functional>
#include <optional>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Where the receipts of posted transactions are made. The program puts the
// receipt layer here when it is put together; tests put their own.
struct ReceiptMaker {
    std::function<ReceiptOutcome(const FinishedSale&, const QString& programFolder,
                                 const QString& storeName)>
        sale;
    std::function<ReceiptOutcome(const FinishedCashMovement&, const QString& programFolder,
                                 const QString& storeName)>
        cash;
};

// The pattern of the four counter screens: store, receipt number and cashier
// on top; the lines of the open transaction in the grid FG1, each line
// entered field by field and called back for change by choosing its row;
// "+" in the empty first field moves to the tendered amount Text8, checked
// against the amount due; RSBTN posts the transaction in one piece, then
// the receipt is made when "printer" says so. A screen built on it states
// its fields, its line, its settlement and what it writes.
class CounterScreen : public Screen {
    Q_OBJECT
public:
    static void setReceiptMaker(ReceiptMaker maker);
    static const ReceiptMaker& receiptMaker();

protected:
    struct Column {
        QString heading;
        int twips;
        bool figure = false; // lined up on the right, as on a receipt
    };
    // jumps: the function keys that open the other counter screens.
    CounterScreen(Navigator& navigator, const QString& code, const QString& titleText,
                  MessageForm form, const QList<Column>& columns,
                  const QList<std::pair<int, QString>>& jumps);

    const CounterParameters& shop() const { return shop_; }
    // The screen's own message form.
    void say(const QString& text) { message(form_, text); }

    // Places for the screen's own controls: the line fields below the grid,
    // the settlement choice beside the mode label, figures below the
    // tendered amount.
    QGridLayout* entryArea() const { return entryArea_; }
    QHBoxLayout* choiceArea() const { return choiceArea_; }
    QGridLayout* figureArea() const { return figureArea_; }
    // A read-only field showing an amount as a register display does.
    QLineEdit* figure(const QString& name, qreal scale);
    QLineEdit* display(const QString& name, int width);
    // The fields of a line read larger than the rest of the screen.
    static void enlarge(const QList<QLineEdit*>& lineFields);

    // Line entry. A new line takes the next line number; a chosen line is
    // changed in place.
    enum class EntryMode { New, Change };
    EntryMode entryMode() const { return entryMode_; }
    int lineNumber() const { return entryMode_ == EntryMode::New ? lineCount() + 1 : changing_; }
    void setEntryMode(EntryMode mode, int changing = 0);
    // A line that is not complete: the mode label darkens, nothing else.
    void markIncomplete();
    // Whether every field of the line is there, given in screen order; if
    // not, the line is marked incomplete and the first missing field takes
    // the focus. Empty names read "**".
    struct LineField {
        QWidget* field;
        bool present;
    };
    bool lineReady(std::initializer_list<LineField> fields,
                   std::initializer_list<QLineEdit*> names);
    static bool filled(const QLineEdit* field) { return !field->text().trimmed().isEmpty(); }
    // A line field took the focus: the tender and the post button close
    // until "+" is pressed again.
    void lineFieldFocused(const QString& legend, Qt::Alignment alignment);
    // Whether a line of this amount, making this total, fits what the
    // screen shows and takes as tendered; if not, the operator is told and
    // the quantity is given back.
    bool amountsFit(double lineAmount, double total, EntryField* quantity);
    // Whether another line fits; a 101st line is refused in LabelM.
    bool roomForLine();
    // After the confirmed line is in the list: the grid (one row added, or
    // rebuilt after a change), the totals, the empty entry, mode "I".
    void lineStored();
    // "+" in the empty first field with lines listed opens the tender.
    void plusPressed(QLineEdit* firstField);

    virtual QWidget* firstField() const = 0;
    virtual int lineCount() const = 0;
    virtual QStringList gridRow(int number) const = 0;
    virtual void lineChosen(int number) = 0;
    virtual void clearEntry() = 0;
    virtual void showTotals() = 0;
    virtual void resetLines() = 0;
    virtual QString firstFieldLegend() const = 0;
    // A row of the grid just filled, for what the screen marks in it.
    virtual void decorateRow(int row, int number)
    {
        Q_UNUSED(row)
        Q_UNUSED(number)
    }

    // Settlement.
    virtual double amountDue() const = 0;
    virtual Settlement settlement() const { return Settlement::Cash; }
    virtual void proposeTender();
    virtual QString postPrompt() const = 0;
    // The amount of the last accepted check, the one that is posted.
    double tendered() const { return tendered_; }
    void setChangeCaption(const QString& text);
    void setTotalCaption(const QString& text);
    // Sends the operator back to the tender when it is open, else to the
    // first field (a change of the settlement kind).
    void backToTender();

    // Posting: one transaction under the receipt number shown, then the
    // receipt. What is posted is the screen's; "売上" names it for the
    // operator.
    virtual QString subject() const = 0;
    // What every record of the receipt being posted carries.
    ReceiptStamp stamp(const QString& receipt, const QDateTime& moment) const;
    virtual PostingResult postTransaction(const QString& receipt, const QDateTime& moment) = 0;
    virtual ReceiptOutcome makeReceipt() = 0;
    virtual bool closesAfterPosting() const { return false; }

    void loadData() override;
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void focusFirst() override;
    bool functionKey(int key) override;

    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    EntryField* Text8;
    QLineEdit* Text9;
    QComboBox* CB1;
    QLabel* LabelN;
    QTableWidget* FG1;
    QLabel* LabelAPF;
    QPushButton* RSBTN;
    QPushButton* RTBTN;

private:
    void fillStaff();
    void cashierChosen(int index);
    void rowChosen(int row);
    void fillRow(int row, int number);
    void tenderFocused();
    void tenderEntered();
    void post();
    void showModeLabel(const char* text, const char* colour);

    MessageForm form_;
    CounterParameters shop_;
    QList<std::pair<int, QString>> jumps_;
    QList<bool> figures_;
    QList<StaffMember> staff_;
    EntryMode entryMode_ = EntryMode::New;
    int changing_ = 0;
    double tendered_ = 0;
    QGridLayout* entryArea_;
    QHBoxLayout* choiceArea_;
    QGridLayout* figureArea_;
    QLabel* changeCaption_;
    QLabel* totalCaption_;
};
