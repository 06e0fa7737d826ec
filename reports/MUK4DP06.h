#pragma once

#include "reports/CategoryReport.h"

class QComboBox;
class QLineEdit;

// Sales by middle category and business day: twenty middle codes of one
// major category, chosen as one of five ranges.
class MUK4DP06 : public CategoryReport {
    Q_OBJECT
public:
    explicit MUK4DP06(Navigator& navigator);

protected:
    void loadData() override;
    void areaAssign() override;
    void focusFirst() override;
    void finishRun() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void majorChosen(int index);
    void rangeChosen(int index);
    void majorEntered();
    void rangeEntered();

    QComboBox* CB1;
    QComboBox* CB2;
    QLineEdit* TextA;
    QLineEdit* TextB;
    QString major_;
};
