#pragma once

#include <QAbstractTableModel>
#include <QTableView>

class QHBoxLayout;

// The rows of a report grid as texts, shown without copying them into items:
// a day's dump has thousands of rows.
class TextRows : public QAbstractTableModel {
    Q_OBJECT
public:
    TextRows(int columns, QObject* parent);

    void setRows(QList<QStringList> rows);
    const QList<QStringList>& rows() const { return rows_; }
    void alignRight(QList<int> columns) { right_ = std::move(columns); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    int columns_;
    QList<QStringList> rows_;
    QList<int> right_;
};

// A report's result grid: no heading row (labels above it carry the
// headings), columns as wide as the screen gives them in twips, figures
// right-aligned, nothing editable.
class ReportGrid : public QTableView {
    Q_OBJECT
public:
    ReportGrid(const QString& name, const QList<int>& widthsInTwips, QWidget* parent);

    // Screen lengths are given in twips; 15 make a pixel on a normal screen.
    static int pixels(int twips) { return twips / 15; }

    void setRows(QList<QStringList> rows) { model_->setRows(std::move(rows)); }
    void clear() { model_->setRows({}); }
    const QList<QStringList>& rows() const { return model_->rows(); }
    void alignRight(QList<int> columns) { model_->alignRight(std::move(columns)); }
    const QList<int>& widths() const { return widths_; }
    // Makes a column wider or narrower, the grid with it; widgets lined up
    // with the column follow it by the caller.
    void setWidth(int column, int twips);
    // Widgets lined up with the columns (the headings above the grid, the
    // totals below it): cell i is as wide as column i.
    QHBoxLayout* alignedRow(const QList<QWidget*>& cells) const;

private:
    TextRows* model_;
    QList<int> widths_;
};
