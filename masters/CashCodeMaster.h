#pragma once

#include "masters/MasterScreen.h"

// What sets the account master apart from the partner master: the rest of
// the two screens is the same.
struct CashCodeKind {
    QString screen;  // screen code
    QString title;   // heading of the screen
    QString table;   // master table; its fields 01 to 08 share one prefix
    QString subject; // "入出金科目", "入出金取引先": every prompt and message names it
    QString codeCaption;
    QString nameCaption;
    QString shortCaption;
    int nameLength;
    int shortLength;
};

// The deposit/payment code masters: a four-digit code ("0000" included), a
// name and a short name, every record listed, each deleted record kept in the
// archive. Unlike the staff master, the register and delete buttons lock the
// entry and check the name again before they touch the table.
class CashCodeMaster : public MasterScreen {
    Q_OBJECT
protected:
    CashCodeMaster(Navigator& navigator, const CashCodeKind& kind);

    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void rowChosen(int row) override;
    std::optional<QString> keyOf(const QString& typed) override;
    void showFound(const QVariantMap& record) override;
    void showNew(const QString& key) override;
    // ANS_CHECK after locking the entry: on failure the name field has the
    // focus again.
    bool entryChecked() override;
    QVariantMap storedAlways() const override;
    QVariantMap storedOnAdd() const override;

private:
    // Field nn of the table (CK02, CT07, ...).
    QString field(int number) const;
    QString nameMissing() const;
    void nameEntered();
    void shortNameEntered();

    CashCodeKind kind_;
    EntryField* Text1;
    EntryField* Text2;
    EntryField* Text3;
};
