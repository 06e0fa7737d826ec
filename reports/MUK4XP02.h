#pragma once

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

private:
    ReportGrid* FG1;
    QCheckBox* CK1;
    QLabel* LabelR;
    QLabel* LabelID;
};
