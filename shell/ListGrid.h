#pragma once

#include <QTableWidget>

// The grid FG1 of the screens: whole rows, chosen by a click or by Enter on
// the current row, no cell edited in place, column widths given in twips as
// the screens give them. No heading row unless the screen sets one.
class ListGrid : public QTableWidget {
    Q_OBJECT
public:
    ListGrid(const QList<int>& widthsInTwips, QWidget* parent);

signals:
    void rowChosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
