#include "pos/ReceiptRows.h"

#include "data/Clock.h"
#include "data/Conversions.h"
#include "data/TaxRates.h"

#include <algorithm>

namespace {
const QString GothicName = QStringLiteral("ＭＳ ゴシック");

class Writer {
public:
    explicit Writer(ReceiptSheet& sheet) : sheet_(sheet) {}
    void put(int row, char16_t column, const CellValue& value,
             const CellFont& font = ReceiptRows::bodyFont())
    {
        sheet_.cells.append({row, QChar(column), value, font});
    }
    // A line of the transaction: its name and amount, and below them the
    // quantity and unit price unless the quantity is 1 or 0. Returns the
    // row after the last one written.
    int line(int row, const QString& name, double amount, double quantity,
             const QString& quantityText, double unitPrice)
    {
        put(row, u'A', name);
        put(row, u'B', amount);
        if (quantity != 1 && quantity != 0)
            put(++row, u'A',
                QStringLiteral("  ×") + quantityText + QStringLiteral("  @ ") +
                    Conversions::format(unitPrice, Conversions::Blank9));
        return row + 1;
    }
    void amount(int row, const QString& caption, double value)
    {
        put(row, u'A', caption);
        put(row, u'B', value, ReceiptRows::amountFont());
    }

private:
    ReceiptSheet& sheet_;
};

ReceiptSheet cleared()
{
    return {QStringLiteral("A5:B100"), ReceiptRows::bodyFont(), {}};
}

// The receipt number, the staff member and the moment close every receipt,
// then the shop's registration number when it has one.
void closing(Writer& w, int row, const QString& receiptNumber, const QString& mark,
             const QString& staffName, const QDateTime& moment,
             const QString& registrationNumber = QString())
{
    const QDateTime at = moment.isValid() ? moment : Clock::now();
    w.put(row, u'A', QStringLiteral("レシート.") + receiptNumber);
    if (!mark.isEmpty())
        w.put(row, u'B', mark);
    w.put(row + 1, u'A', QStringLiteral("担当.　　") + staffName);
    w.put(row + 2, u'A',
          at.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("  ") +
              at.toString(QStringLiteral("HH:mm:ss")));
    if (!registrationNumber.isEmpty())
        w.put(row + 3, u'A', QStringLiteral("登録番号 ") + registrationNumber);
}

// A receipt a customer's accountant accepts states the tax-included total
// and the tax of each rate, the tax rounded once per rate. Returns the row
// after the last one written.
int taxByRate(Writer& w, int row, const FinishedSale& sale)
{
    TaxRates::RateTotals byRate(sale.standardRate);
    for (const SaleReceiptLine& line : sale.lines)
        byRate.add(line.taxRate, line.amount);
    for (const TaxRates::RateTotals::Total& total : byRate.totals()) {
        w.put(row++, u'A', TaxRates::taxedCaption(total.perMille));
        w.put(row - 1, u'B', static_cast<double>(total.amount));
        w.put(row++, u'A', QStringLiteral("　内消費税"));
        w.put(row - 1, u'B', static_cast<double>(total.tax()));
    }
    return row;
}
} // namespace

namespace ReceiptRows {

CellFont bodyFont()
{
    return {GothicName, 6, false};
}

CellFont amountFont()
{
    return {GothicName, 8, true};
}

ReceiptSheet sale(const FinishedSale& sale)
{
    ReceiptSheet sheet = cleared();
    Writer w(sheet);
    // The sales receipt writes a blank into every cell of its first rows,
    // so that nothing of an earlier content shows through.
    if (!sale.isReturn)
        for (int row = 5; row <= 50; ++row) {
            w.put(row, u'A', QStringLiteral(" "));
            w.put(row, u'B', QStringLiteral(" "));
        }
    const bool anyReduced = std::any_of(sale.lines.cbegin(), sale.lines.cend(),
                                        [](const SaleReceiptLine& l) { return l.reduced; });
    const bool byRate = anyReduced || !sale.registrationNumber.isEmpty();
    int r = 6;
    for (const SaleReceiptLine& line : sale.lines)
        r = w.line(r, line.reduced ? line.productName + QStringLiteral(" ※") : line.productName,
                   line.amount, line.quantity, line.quantityText, line.unitPrice);
    if (byRate) {
        r = taxByRate(w, r, sale) + 1;
    } else {
        w.put(r, u'A', QStringLiteral("消費税"));
        w.put(r, u'B', sale.taxTotal);
        r += 2;
    }
    w.amount(r++, QStringLiteral("お買上計"), sale.amountDue);
    if (sale.settlement != Settlement::Credit)
        w.amount(r++,
                 sale.settlement == Settlement::Cash ? QStringLiteral("お預り金")
                                                     : QStringLiteral("売掛内金"),
                 sale.tendered);
    if (sale.settlement == Settlement::Cash && sale.difference > 0)
        w.amount(r++, QStringLiteral("お釣り"), sale.difference);
    if (sale.settlement != Settlement::Cash)
        w.amount(r++, QStringLiteral("売掛金"),
                 sale.difference < 0 ? -sale.difference : sale.difference);
    if (anyReduced)
        w.put(++r, u'A', QStringLiteral("※は軽減税率対象商品"));
    closing(w, r + 1, sale.receiptNumber, sale.isReturn ? QStringLiteral("<返品>") : QString(),
            sale.staffName, sale.moment, sale.registrationNumber);
    return sheet;
}

ReceiptSheet cash(const FinishedCashMovement& movement)
{
    const bool deposit = movement.direction == CashDirection::Deposit;
    ReceiptSheet sheet = cleared();
    Writer w(sheet);
    int r = 6;
    for (const CashReceiptLine& line : movement.lines) {
        r = w.line(r, line.accountName, line.amount, line.quantity, line.quantityText,
                   line.unitAmount);
        w.put(r++, u'A', line.partnerCode + QStringLiteral("  ") + line.accountCode);
    }
    w.amount(r, deposit ? QStringLiteral("入金計") : QStringLiteral("支払計"), movement.total);
    w.amount(++r, QStringLiteral("お預り金"), movement.tendered);
    if (movement.change > 0)
        w.amount(++r, QStringLiteral("お釣り"), movement.change);
    closing(w, r + 2, movement.receiptNumber,
            deposit ? QStringLiteral("<入金>") : QStringLiteral("<支払>"), movement.staffName,
            movement.moment);
    return sheet;
}

ReceiptSheet copy(ReceiptSheet original)
{
    Writer(original).put(5, u'A', QStringLiteral("【再発行】"));
    return original;
}

void fill(Workbook& workbook, const ReceiptSheet& sheet)
{
    // A longer receipt before this one ran past the range: its last rows go
    // too, so that none of them print under this one.
    std::optional<CellRange> cleared = CellRange::parse(sheet.clearedRange);
    if (cleared && workbook.lastRow() > cleared->last.row)
        cleared->last.row = workbook.lastRow();
    workbook.select(cleared ? cleared->text() : sheet.clearedRange);
    workbook.setFont(sheet.bodyFont);
    workbook.clearContents();
    workbook.select(u"A4");
    for (const ReceiptCell& cell : sheet.cells) {
        workbook.write(cell.row, QStringView(&cell.column, 1), cell.value);
        if (cell.font != sheet.bodyFont) {
            workbook.select(
                CellAddress{cell.row, columnNumber(QStringView(&cell.column, 1))}.text());
            workbook.setFont(cell.font);
        }
    }
}

} // namespace ReceiptRows
