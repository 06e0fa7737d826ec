#pragma once

#include "reports/ReportScreen.h"

class QLineEdit;
class ReportGrid;

// Register totals by business day, from a start date to the end of its
// month, with the period's total row.
class MUK4DP01 : public ReportScreen {
    Q_OBJECT
public:
    explicit MUK4DP01(Navigator& navigator);

protected:
    void clearResult() override;
    void run(const QString& startDate) override;

private:
    ReportGrid* FG1;
    QList<QLineEdit*> totals_; // Text3 .. Text12
};
