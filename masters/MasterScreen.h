#pragma once

#include "data/MasterTable.h"
#include "data/RecordSet.h"
#include "shell/Screen.h"

#include <optional>

class QGridLayout;
class QGroupBox;
class QPushButton;
class QTableWidget;

// What the register button will do with the entry on screen.
enum class Mode {
    Add,     // "I": a new record
    Change,  // "M": an existing record
    Setting, // a parameter chosen on the settings screen
};

// The plan every master screen is built on: entry fields above, the mode
// label in the "TRAN-AP" frame with the register, delete and return buttons,
// and (on most) a grid of the table's records whose rows can be chosen.
// F10 and the return button go back to the master menu.
//
// A screen over a master table (keepTable) gets the master flow: Enter in the
// code field turns the typed code into the key (keyOf: padding, range),
// looks it up, sets the mode and shows the record found or a new one
// (showFound, showNew); the register button checks the entry
// (entryChecked) and stores it (storedAlways, storedOnAdd); the delete
// button checks it and archives and deletes the record.
class MasterScreen : public Screen {
    Q_OBJECT
protected:
    MasterScreen(Navigator& navigator, const QString& code, const QString& titleText,
                 MessageForm form);

    // Adds a captioned field on the next row of the entry area.
    void addRow(const QString& captionText, QWidget* field, QWidget* beside = nullptr);
    QGridLayout* fields() const { return fields_; }
    // Creates the grid FG1 with its column widths (in twips), below the fields.
    QTableWidget* makeGrid(const QList<int>& widthsInTwips);
    // Replaces the grid's rows; each row is the cell texts.
    void fillGrid(const QList<QStringList>& rows);
    // Lists every record the query finds, one grid row each holding the texts
    // of `fields`, the code (the first) followed by `padding` blanks as the
    // list keeps it. A failure is shown and leaves the list empty.
    void showList(const Select& select, const QStringList& fields, int padding = 0);
    // The texts of a listed row; empty when there is no such row.
    QStringList listed(int row) const { return listed_.value(row); }
    QTableWidget* grid() const { return grid_; }
    // Tab order: the fields in their order of entry, then RCBTN, DLBTN, RTBTN.
    void setEntryOrder(const QList<QWidget*>& fieldsInOrder);

    Mode mode() const { return mode_; }
    void setMode(Mode mode);

    // What did not happen to a record of the table, for the operator:
    // "担当者" + "を登録できませんでした。".
    static QString notDone(const QString& table, const QString& tail);

    // The screen's own message form.
    void say(const QString& text) { message(form_, text); }

    // Enables and focuses a control; the field focus handlers then run.
    static void open(QWidget* widget);
    static void enable(std::initializer_list<QWidget*> widgets, bool on);

    virtual void rowChosen(int row) { Q_UNUSED(row); }
    virtual void registerClicked();
    virtual void deleteClicked();

    // The master flow over `table`, started by Enter in `codeField`;
    // `codeMissing` answers a code that keyOf refuses.
    void keepTable(const QString& table, EntryField* codeField, const QString& codeMissing);
    const MasterTable& table() const { return *table_; }
    // The key of a typed code, shown padded in the code field(s); nothing
    // when the code is refused.
    virtual std::optional<QString> keyOf(const QString& typed) { return typed; }
    // Puts a looked-up record or a new one on screen and moves on.
    virtual void showFound(const QVariantMap& record) { Q_UNUSED(record); }
    virtual void showNew(const QString& key) { Q_UNUSED(key); }
    // ANS_CHECK before a store or delete: true when it may go ahead.
    virtual bool entryChecked() { return true; }
    virtual bool deleteChecked() { return entryChecked(); }
    // The key of the entry on screen.
    virtual QString entryKey() const;
    // What a store writes, on every store and on adding only (the key field
    // and the audit fields are written by the table).
    virtual QVariantMap storedAlways() const { return {}; }
    virtual QVariantMap storedOnAdd() const { return {}; }
    // After a record was deleted, before the screen starts again.
    virtual void afterDelete() {}

    // The legend and the mode "I" every master screen starts in.
    void areaAssign() override;
    // The entry starts in the first field of the entry order.
    void focusFirst() override;
    bool functionKey(int key) override;

    QPushButton* RCBTN;
    QPushButton* DLBTN;
    QPushButton* RTBTN;
    QLabel* LabelAPF;

private:
    void codeEntered();
    // After a write the engine refused: a locked entry starts again at the code.
    void writeFailed();

    std::optional<MasterTable> table_;
    EntryField* codeField_ = nullptr;
    QString codeMissing_;
    MessageForm form_;
    Mode mode_ = Mode::Add;
    QGridLayout* fields_;
    QVBoxLayout* gridArea_;
    QTableWidget* grid_ = nullptr;
    QList<QStringList> listed_;
    QWidget* first_ = nullptr;
};
