#pragma once

#include "reports/CategoryReport.h"

// Sales by major category and business day: the ten majors "1" to "9" and
// "0" as columns.
class MUK4DP05 : public CategoryReport {
    Q_OBJECT
public:
    explicit MUK4DP05(Navigator& navigator);

protected:
    void loadData() override;
    void finishRun() override;
};
