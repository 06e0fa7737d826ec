#include "reports/ReportGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>

TextRows::TextRows(int columns, QObject* parent) : QAbstractTableModel(parent), columns_(columns) {}

void TextRows::setRows(QList<QStringList> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TextRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextRows::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant TextRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return rows_.value(index.row()).value(index.column());
    if (role == Qt::TextAlignmentRole && right_.contains(index.column()))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

ReportGrid::ReportGrid(const QString& name, const QList<int>& widthsInTwips, QWidget* parent)
    : QTableView(parent), widths_(widthsInTwips)
{
    setObjectName(name);
    model_ = new TextRows(static_cast<int>(widthsInTwips.size()), this);
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Rows as high as the text, so that a month fits on the screen.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(false);
    for (int i = 0; i < widthsInTwips.size(); ++i)
        setWidth(i, widthsInTwips[i]);
}

void ReportGrid::setWidth(int column, int twips)
{
    widths_[column] = twips;
    setColumnWidth(column, pixels(twips));
    int total = 0;
    for (int width : std::as_const(widths_))
        total += pixels(width);
    setFixedWidth(total + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
}

QHBoxLayout* ReportGrid::alignedRow(const QList<QWidget*>& cells) const
{
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->setContentsMargins(frameWidth(), 0, 0, 0);
    for (qsizetype i = 0; i < cells.size() && i < widths_.size(); ++i) {
        const int width = pixels(widths_[i]);
        if (!cells[i]) {
            row->addSpacing(width);
            continue;
        }
        cells[i]->setFixedWidth(width);
        row->addWidget(cells[i]);
    }
    row->addStretch(1);
    return row;
}
