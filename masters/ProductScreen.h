#pragma once

#include "data/MasterTable.h"
#include "masters/MasterScreen.h"
#include "masters/ProductEntry.h"

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
    void registerClicked() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // A stored product has been put on screen; this screen goes on to the name.
    virtual void productShown();
    void optionClicked(SpecialKind kind);
    ProductEntry entryOnScreen() const;
    // After a delete the next product starts without proposals.
    void forgetProposals();

    MasterTable products_{QStringLiteral("MBMSHO")};
    EntryField* Text1;
    EntryField* Text2;
    EntryField* Text3;
    EntryField* Text9;
    QRadioButton* Option1;
    QRadioButton* Option4;

private:
    void makeControls(const Captions& captions);
    void closeAfter(QWidget* field);
    void codeEntered();
    void showEntry(const ProductEntry& entry);
    void fillList(QComboBox* box, const QList<CategoryChoice>& choices, int number);
    void shortNameEntered();
    void majorListSet();
    void middleListSet(const QString& major);
    void majorChosen(int index);
    void middleChosen(int index);
    void priceEntered(EntryField* field, QWidget* next);
    void specialEntered();
    void dateEntered(EntryField* field, const QString& failure, const std::function<void()>& next);
    void timeEntered(EntryField* field, const QString& failure, QWidget* next);
    int answerCheck();
    SpecialKind kind() const;
    void selectKind(SpecialKind kind);

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
    QLabel* LabelW;
    // The order of entry; a field taking the focus closes all that follow it.
    QList<QWidget*> chain_;
    QList<EntryField*> prices_;
};
