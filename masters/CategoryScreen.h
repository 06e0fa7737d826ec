#pragma once

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
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void rowChosen(int row) override;
    std::optional<QString> keyOf(const QString& typed) override;
    void showFound(const QVariantMap& record) override;
    void showNew(const QString& key) override;
    // ANS_CHECK after locking the entry: every check runs, so each failure
    // is reported, and the last failing field keeps the focus.
    bool entryChecked() override;
    QString entryKey() const override;
    // The name and short name; a level adds its own fields.
    QVariantMap storedAlways() const override;

    EntryField* Text1;
    EntryField* Text2;
    EntryField* Text3;

private:
    QString text(const char* suffix) const;
    // One past the highest code the field takes (10, 100).
    qint64 codeLimit() const;
    // Enter in a name field: an empty one is refused, else the next opens.
    void passOn(EntryField* field, const char* missing, QWidget* next);
    void failed(EntryField* field, const char* message);

    QString level_;
    int digits_;
    int listPadding_;
};
