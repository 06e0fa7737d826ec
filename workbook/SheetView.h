#pragma once

#include "workbook/CellAddress.h"
#include "workbook/StyleSheet.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <map>
#include <optional>

class Workbook;

// What a sheet shows, read from a workbook for drawing: values with their
// formats, column widths, row heights, merged cells, page margins and
// pictures. Widths are in the sheet's character units, the rest in points.
struct SheetView {
    struct Cell {
        QString text;                 // a text cell's text
        std::optional<double> number; // a number cell's value
        int style = 0;
        bool visible() const { return number.has_value() || !text.trimmed().isEmpty(); }
    };
    struct Row {
        std::optional<double> height;
        bool customHeight = false;
        bool hidden = false;
    };
    struct Columns {
        int min = 0;
        int max = 0;
        double width = 0;
        bool hidden = false;
    };
    // A picture's place: a corner in a cell (0-based column and row, offset
    // in points) and either the opposite corner or a size.
    struct Picture {
        QByteArray data;
        int fromColumn = 0, fromRow = 0;
        double fromX = 0, fromY = 0;
        bool twoCells = false;
        int toColumn = 0, toRow = 0;
        double toX = 0, toY = 0;
        double width = 0, height = 0;
    };
    struct Margins {
        double left = 14.4, right = 14.4, top = 14.4, bottom = 14.4;
    };

    static SheetView of(const Workbook& workbook);

    std::map<std::pair<int, int>, Cell> cells; // (row, column)
    QHash<int, Row> rows;
    QList<Columns> columns;
    double defaultRowHeight = 15;
    double defaultColumnWidth = 8.43;
    QList<CellRange> merges;
    std::optional<CellRange> printArea;
    Margins margins;
    QList<Picture> pictures;
    StyleSheet styles;

    const Cell* cell(int row, int column) const;
};
