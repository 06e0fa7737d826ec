#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Cells as a spreadsheet names them: column letters and a row number, both
// counted from 1 ("A5" is row 5, column 1).
struct CellAddress {
    int row = 0;
    int column = 0;

    static std::optional<CellAddress> parse(QStringView text);
    QString text() const;
    bool operator==(const CellAddress&) const = default;
};

struct CellRange {
    CellAddress first;
    CellAddress last;

    // "A5:B100", "$A$1:$B$40", a single cell "A4", or whole columns "$A:$B".
    static std::optional<CellRange> parse(QStringView text);
    bool contains(int row, int column) const
    {
        return row >= first.row && row <= last.row && column >= first.column &&
               column <= last.column;
    }
    QString text() const;
};

// "A" -> 1, "AB" -> 28; 0 for anything else.
int columnNumber(QStringView letters);
QString columnLetters(int column);

inline constexpr int MaxRow = 1048576;
inline constexpr int MaxColumn = 16384;
