#pragma once

#include "reports/ProductGraph.h"
#include "reports/ReportScreen.h"

class BarGraph;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class ReportGrid;

// The sales of one product in one month as a bar graph of the days and a
// table beside it, optionally with the bars of its whole middle category.
class MUK4AS01 : public ReportScreen {
    Q_OBJECT
public:
    explicit MUK4AS01(Navigator& navigator);

protected:
    void loadData() override;
    void clearResult() override;
    void areaAssign() override;
    void focusFirst() override;
    ReportFile reportFile() const override;
    QString filePeriod() const override;

private:
    void chooseFigure(ProductGraph::Figure figure);
    void chooseScale(int index);
    void showSetting();
    void backToProduct();
    void productEntered();
    void monthEntered();
    void draw();
    void enableChoices(bool on);

    EntryField* Text2; // product code
    EntryField* Text1; // month
    QLineEdit* Text4;
    QList<QRadioButton*> options_; // Option1 .. Option8
    QCheckBox* Check1;
    QCheckBox* Check2;
    QList<QLabel*> labelID_;
    BarGraph* graph_;
    ReportGrid* FG1;

    ProductGraph::Figure figure_ = ProductGraph::Figure::SalesWithTax;
    int scale_ = 0;
    // The figures of the bars drawn, the product's and its category's.
    std::pair<ProductGraph::DayTotals, ProductGraph::DayTotals> shownFigures_{};
    bool compared_ = false;
    QString middle_;
};
