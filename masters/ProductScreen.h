#pragma once

#include "masters/MasterScreen.h"
#include "masters/ProductEntry.h"

#include <functional>

struct CategoryChoice;
class QComboBox;
class QLineEdit;
class QRadioButton;

// The product screens: one product at a time by its code, the fields opened
// one after the other as each is confirmed with Enter. What the last save
// left in the dates, the categories and the special-price kind is offered
// again for the next product until a delete or leaving clears it.
class ProductScreen : public MasterScreen {
    Q_OBJECT
protected:
    struct Captions {
        QString code;
        QString title;
        QString periodTo;
        QString timeTo;
    };
    ProductScreen(Navigator& navigator, const Captions& captions);

    void areaInit() override;
    void areaLock() override;
    void focusFirst() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    std::optional<QString> keyOf(const QString& typed) override;
    void showFound(const QVariantMap& record) override;
    void showNew(const QString& key) override;
    // ANS_CHECK: every check runs; the last failing item keeps the focus.
    bool entryChecked() override;
    // A delete asks nothing.
    bool deleteChecked() override { return true; }
    QVariantMap storedAlways() const override;
    QVariantMap storedOnAdd() const override;

    // A stored product has been put on screen; this screen goes on to the name.
    virtual void productShown();
    void optionClicked(SpecialKind kind);
    ProductEntry entryOnScreen() const;
    // After a delete the next product starts without proposals.
    void forgetProposals();

    EntryField* Text1;
    EntryField* Text2;
    EntryField* Text3;
    EntryField* Text9;
    QRadioButton* Option1;
    QRadioButton* Option4;

private:
    // What Enter on a field of the chain finds: passed on, refused with the
    // field's message, or (an empty date or time) nothing at all.
    enum class Verdict { Pass, Refuse, Stay };
    using Check = std::function<Verdict()>;
    struct EnterStep {
        QWidget* field;
        const char* refusal;
        Check check; // may rewrite the field
        std::function<QWidget*()> next;
    };
    static Check filled(QLineEdit* field);
    static Check price(EntryField* field);
    static Check date(EntryField* field);
    static Check time(EntryField* field);
    QWidget* afterSpecialPrice();
    void enterPressed(QWidget* field);

    void makeControls(const Captions& captions);
    void closeAfter(QWidget* field);
    void showEntry(const ProductEntry& entry);
    void fillList(QComboBox* box, const QList<CategoryChoice>& choices, int number);
    void majorListSet();
    void middleListSet(const QString& major);
    void majorChosen(int index);
    void middleChosen(int index);
    SpecialKind kind() const;
    void selectKind(SpecialKind kind);
    void selectClass(TaxClass taxClass);
    bool isClassOption(QObject* watched) const;

    EntryField* Text4;
    EntryField* Text5;
    QLineEdit* Text6;
    EntryField* Text7;
    EntryField* Text8;
    EntryField* Text10;
    EntryField* Text11;
    EntryField* Text12;
    EntryField* Text13;
    QLineEdit* TextA;
    QLineEdit* TextB;
    QLineEdit* TextC;
    QComboBox* CB1;
    QComboBox* CB2;
    QRadioButton* Option2;
    QRadioButton* Option3;
    // The tax class is one step of the chain: Enter on either option goes on.
    QWidget* classBox_;
    QRadioButton* OptionStandard;
    QRadioButton* OptionReduced;
    QLabel* LabelW;
    QList<EnterStep> steps_;
    // The order of entry; a field taking the focus closes all that follow it.
    QList<QWidget*> chain_;
};
