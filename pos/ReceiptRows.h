#pragma once

#include "pos/Receipt.h"
#include "workbook/StyleSheet.h"
#include "workbook/Workbook.h"

#include <QList>

// One write of a receipt: a cell by row and column letter and the font it
// is shown in.
struct ReceiptCell {
    int row = 0;
    QChar column;
    CellValue value;
    CellFont font;
    bool operator==(const ReceiptCell&) const = default;
};

// What a receipt writes on the template's active sheet: the range it clears
// and sets in the body font first, then its cells in writing order.
struct ReceiptSheet {
    QString clearedRange;
    CellFont bodyFont;
    QList<ReceiptCell> cells;
};

namespace ReceiptRows {

// The body font, and the font of the amounts that close a receipt.
CellFont bodyFont();
CellFont amountFont();

ReceiptSheet sale(const FinishedSale& sale);
ReceiptSheet cash(const FinishedCashMovement& movement);

// A receipt printed again: "【再発行】" on the row below the heading, written
// last so that the blanks of a sales receipt do not cover it.
ReceiptSheet copy(ReceiptSheet original);

// Clears the range, then writes the cells with their fonts.
void fill(Workbook& workbook, const ReceiptSheet& sheet);

} // namespace ReceiptRows
