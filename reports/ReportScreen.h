#pragma once

#include "reports/ReportFile.h"
#include "reports/ReportQuery.h"
#include "shell/Screen.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QPushButton>

class QLineEdit;
class QRadioButton;

// The plan every report screen follows: the fields of the run at the top,
// the result below, the "AP CHK" status with "再実行" (SJBTN, F8: start
// again) and "戻る" (RTBTN, F10: back to the parent screen) at the bottom. A
// dated report is run by Enter in its start date Text2, after which the date
// is closed and the result stays until the screen starts again. F9 writes
// the result shown to a file for the accountant.
class ReportScreen : public Screen {
    Q_OBJECT
protected:
    ReportScreen(Navigator& navigator, const QString& code, const QString& titleText,
                 QString parent);

    QGridLayout* fields() const { return fields_; }
    QVBoxLayout* result() const { return result_; }

    // Text1 "店舗名", showing the store's name read on loading.
    QLineEdit* addStoreName(int row, int column);
    // The start date Text2. A date that fails the check shows `invalid` and
    // stays for correction; a good one is handed to run().
    EntryField* addDateField(const QString& captionText, const QString& invalid, int row,
                             int column);
    // "このレジ" (OptionThisRegister, the default: the register's own
    // figures) or "全レジ" (OptionAllRegisters: every register of the store),
    // on a row of their own under the store name and in the Tab and Enter
    // order just before the start date. A run closes them with the date.
    void addRegisterChoice();
    // The note LabelC below the result.
    void addNote(const QString& text);

    void loadData() override;
    void areaInit() override;
    void areaLock() override;
    void areaAssign() override;
    void focusFirst() override;
    bool functionKey(int key) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Empties the result of the last run.
    virtual void clearResult() {}
    // The run of a dated report with its checked start date.
    virtual void run(const QString& startDate) { Q_UNUSED(startDate); }
    // The shown result as F9 writes it.
    virtual ReportFile reportFile() const { return {}; }
    // The period of the file's name: the month of the start date.
    virtual QString filePeriod() const;

    // Ends a run: the result is shown, the date field closed, SJBTN usable
    // and `focus` has the focus.
    void showResult(QWidget* focus, bool retryLegend = true);
    void setStatus(const QString& text);

    // The store and the register chosen, or all its registers.
    StoreRegister where() const;
    // The register the program is, whatever the choice.
    QString ownRegister() const { return where_.registerCode.value_or(QString()); }
    const QString& businessDate() const { return businessDate_; }
    // The "tax" setting: the rate of the lines that carry none.
    double standardRate() const { return standardRate_; }
    EntryField* dateField() const { return date_; }

    QPushButton* SJBTN;
    QPushButton* RTBTN;
    QLabel* LabelAP;

private:
    void writeFile();

    QString parent_;
    bool shown_ = false;
    QGridLayout* fields_;
    QVBoxLayout* result_;
    QLineEdit* storeName_ = nullptr; // Text1
    EntryField* date_ = nullptr;     // Text2
    QRadioButton* thisRegister_ = nullptr;
    QRadioButton* allRegisters_ = nullptr;
    QLabel* labelC_ = nullptr;
    QString note_;
    StoreRegister where_;
    QString businessDate_;
    double standardRate_ = 0;
};
