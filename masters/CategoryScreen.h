#pragma once

#include "data/MasterTable.h"
#include "data/RecordSet.h"
#include "masters/MasterScreen.h"

#include <optional>

// The plan both category screens share: a code, a name and a short name per
// category, every category of the level listed, and the whole entry checked
// again before anything is stored or deleted. Unlike the other master
// screens, the name fields close nothing when they take the focus, so a
// finished entry can be touched up without passing it through again.
class CategoryScreen : public MasterScreen {
    Q_OBJECT
protected:
    // level: the word in front of every caption, prompt and message;
    // digits: how many digits the operator types into the code field;
    // listPadding: blanks that follow the code in the list.
    CategoryScreen(Navigator& navigator, const QString& code, const QString& level, int digits,
                   int listPadding, const QString& table);

    // Puts the code row (codeArea, with `beside` after it), the name and
    // short-name rows and the list on the screen, in the order of entry.
    void placeFields(QWidget* codeArea, QWidget* beside = nullptr);

    // What stands in front of the typed code in the key.
    virtual QString keyPrefix() const { return {}; }
    // Shows a full key in the code field(s).
    virtual void showKey(const QString& key) { Text1->setText(key); }
    // Shows a typed code once it is complete.
    virtual void codeCompleted(const QString& key) { Q_UNUSED(key); }
    // The categories to list, in their order; none when nothing can be listed.
    virtual std::optional<Select> listQuery() const = 0;
    // Fields written besides the name and short name: on every store, and
    // on adding only.
    virtual QVariantMap storedAlways() const { return {}; }
    virtual QVariantMap storedOnAdd() const = 0;

    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void rowChosen(int row) override;
    void registerClicked() override;
    void deleteClicked() override;

    EntryField* Text1;
    EntryField* Text2;
    EntryField* Text3;

private:
    QString text(const char* suffix) const;
    // One past the highest code the field takes (10, 100).
    qint64 codeLimit() const;
    void codeEntered();
    // Enter in a name field: an empty one is refused, else the next opens.
    void passOn(EntryField* field, const char* missing, QWidget* next);
    // ANS_CHECK: 0 when every field passes, else the number of the last
    // field that failed. Every check runs, so each failure is reported.
    int answerCheck();
    void failed(EntryField* field, const char* message);

    QString level_;
    int digits_;
    int listPadding_;
    MasterTable table_;
};
