#pragma once

#include "reports/ReceiptDump.h"
#include "reports/ReportScreen.h"

class QCheckBox;
class ReportGrid;

// Every receipt of one business day in posting order with its lines, and
// a summary of the day.
class MUK4XP02 : public ReportScreen {
    Q_OBJECT
public:
    explicit MUK4XP02(Navigator& navigator);

protected:
    void clearResult() override;
    void areaAssign() override;
    void run(const QString& date) override;
    ReportFile reportFile() const override;
    QString filePeriod() const override;
    bool functionKey(int key) override;

private:
    // F7: a copy of the chosen row's receipt, from its stored records.
    void reprint();

    QLineEdit* Text1;
    QLabel* numberHeading_;
    QList<ReceiptDump::Owner> owners_; // the receipt of each row of FG1
    ReportGrid* FG1;
    QCheckBox* CK1;
    QLabel* LabelR;
    QLabel* LabelID;
};
