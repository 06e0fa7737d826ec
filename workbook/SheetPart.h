#pragma once

#include "workbook/XmlTree.h"

#include <QList>
#include <QString>

#include <map>

// The cells of a worksheet part, for writing. Rows and cells that are not
// written keep their original text; what stands outside the cell table
// (columns, merged cells, page set-up, pictures) is never touched.
class SheetPart {
public:
    bool parse(const QString& xml, QString& error);

    // The style a cell shows: its own, else its row's, else its column's.
    int styleOf(int row, int column) const;
    void setStyle(int row, int column, int style);
    bool hasCell(int row, int column) const;
    // Removes the value and any formula, keeping the style; true when a
    // formula went with it.
    bool clearContents(int row, int column);
    void setText(int row, int column, const QString& text);
    void setNumber(int row, int column, double value);

    QString text() const;
    // The last row that holds a cell, 0 when none does.
    int lastRow() const;
    bool changed() const { return changed_; }

private:
    struct Cell {
        XmlAttributes attributes;
        QString content; // the cell's inner text
        QString raw;     // the whole element as read
        bool dirty = false;
    };
    struct Row {
        XmlAttributes attributes;
        QString raw;
        std::map<int, Cell> cells;
        bool dirty = false;
    };
    struct ColumnStyle {
        int min;
        int max;
        int style;
    };
    Cell& touch(int row, int column);
    QString rowText(int number, const Row& row) const;
    QString cellText(int row, int column, const Cell& cell) const;
    QString dimension() const;

    QString prefix_;
    QString head_; // up to and including the start tag of the cell table
    QString tail_; // from its end tag on
    qsizetype dimensionBegin_ = -1;
    qsizetype dimensionEnd_ = -1;
    QString dimensionName_;
    std::map<int, Row> rows_;
    QList<ColumnStyle> columns_;
    bool changed_ = false;
};
