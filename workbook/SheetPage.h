#pragma once

#include "workbook/SheetView.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>

#include <vector>

class QPainter;

// The printed part of a sheet as one page: as wide as its printed columns
// and as long as what is written on it, the way a receipt roll is cut.
class SheetPage {
public:
    explicit SheetPage(SheetView view);

    // In points.
    QSizeF size() const;
    // Draws the page with its top left corner at the painter's origin; the
    // painter's device has `unitsPerPoint` units to a point.
    void paint(QPainter& painter, double unitsPerPoint) const;
    // The rows and columns the page shows.
    CellRange printed() const { return printed_; }
    // Where a cell stands on the page, in points.
    QRectF cellRect(int row, int column) const;
    // Every text the page shows, numbers as their format writes them, one
    // cell a line.
    QString text() const;
    // The fonts that text is drawn in.
    QList<QFont> fonts() const;

    // The font a cell format names, falling back to a Japanese gothic face
    // when the machine lacks it.
    static QFont font(const FontStyle& style);
    // Column width in points of a width in digits of the sheet's standard
    // font, and back.
    static double columnPoints(double width, const FontStyle& standardFont);
    static double columnWidth(double points, const FontStyle& standardFont);

private:
    double columnWidthAt(int column) const;
    double rowHeightAt(int row) const;
    double rowStart(int row) const;
    double columnStart(int column) const;
    double x(int column) const;
    double y(int row) const;
    const CellRange* mergeAt(int row, int column) const;
    QRectF pictureRect(const SheetView::Picture& picture) const;
    QString shown(const SheetView::Cell& cell) const;
    void paintCell(QPainter& painter, double k, int row, int column,
                   const SheetView::Cell& cell) const;
    QRectF spill(double k, int row, int column, const QRectF& rect, double textWidth,
                 Qt::Alignment alignment) const;

    SheetView view_;
    CellRange printed_;
    SheetView::Margins margins_;
    // From row 1 (column A) to the start of row i + 1 (column i + 1), as far
    // as asked for so far.
    mutable std::vector<double> rowStarts_{0};
    mutable std::vector<double> columnStarts_{0};
};
