#pragma once

#include "reports/ReportScreen.h"

class QHBoxLayout;
class QLabel;
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
    ReportFile reportFile() const override;

private:
    // A rate's net sales (TextRate<n>) and the tax in them (TextRateTax<n>),
    // each under its caption; made when a month first has that many rates.
    struct RatePair {
        QLabel* caption;
        QLineEdit* net;
        QLabel* taxCaption;
        QLineEdit* tax;
        QList<QWidget*> widgets() const;
        void setVisible(bool visible) const;
    };
    RatePair& ratePair(qsizetype i);
    QLineEdit* figure(const QString& name);

    ReportGrid* FG1;
    QStringList headings_;
    QList<QLineEdit*> totals_; // Text3 .. Text12
    QHBoxLayout* rateRow_;
    QList<RatePair> rates_;
};
