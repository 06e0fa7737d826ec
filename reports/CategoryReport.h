#pragma once

#include "reports/CategorySales.h"
#include "reports/ReportScreen.h"

#include <optional>

class QLineEdit;
class ReportGrid;

// A category sales report: blocks of ten category columns, each a row of
// codes and a row of names above a grid of days and a row of totals below.
class CategoryReport : public ReportScreen {
    Q_OBJECT
protected:
    struct Look {
        QString master;    // MBMBRL or MBMBRM: where the headings come from
        QString codeLabel; // object names of the heading labels
        QString nameLabel;
        bool codeOnlyWhenFound; // a missing category shows no code either
    };
    CategoryReport(Navigator& navigator, const QString& code, const QString& titleText, Look look,
                   int blocks);

    // The columns of the next run, with their headings.
    void setColumns(const CategorySales& columns);
    bool hasColumns() const { return columns_.has_value(); }

    void clearResult() override;
    void run(const QString& startDate) override;
    ReportFile reportFile() const override;
    // Where the run leaves the focus, and whether F8 is offered.
    virtual void finishRun() = 0;

private:
    Look look_;
    std::optional<CategorySales> columns_;
    QList<ReportGrid*> grids_;
    QList<QLabel*> codes_;
    QList<QLabel*> names_;
    QList<QLineEdit*> totals_; // T01 ..
};
