#include "shell/ListGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

ListGrid::ListGrid(const QList<int>& widthsInTwips, QWidget* parent)
    : QTableWidget(0, static_cast<int>(widthsInTwips.size()), parent)
{
    setObjectName(QStringLiteral("FG1"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    // Twips are 1/1440 inch.
    for (int i = 0; i < widthsInTwips.size(); ++i)
        setColumnWidth(i, widthsInTwips[i] / 12);
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowChosen(row); });
}

void ListGrid::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        event->accept();
        emit rowChosen(currentRow());
        return;
    }
    QTableWidget::keyPressEvent(event);
}
