#pragma once

#include "Fixture.h"
#include "pos/Receipt.h"
#include "pos/ReceiptPrinter.h"
#include "workbook/SheetPage.h"

#include <QImage>
#include <QJsonObject>

// Finished transactions for receipts: a line's amount is its quantity times
// its unit price, the total the sum of the lines; tax 55 on a sale, a line
// at 10% or reduced at 8%. Receipt 61200001 (sale) or 61200002 (cash), staff
// 山田 太郎, 2026-12-01 10:15:30.
SaleReceiptLine saleLine(const QString& name, double quantity, double unitPrice,
                         bool reduced = false);
FinishedSale finishedSale(Settlement settlement, double tendered,
                          const QList<SaleReceiptLine>& lines, bool isReturn = false);
CashReceiptLine cashLine(const QString& account, const QString& name, const QString& partner,
                         double quantity, double unitAmount);
FinishedCashMovement finishedCash(CashDirection direction, double tendered,
                                  const QList<CashReceiptLine>& lines);
// A cash sale of bread (1 x 150) and milk (3 x 198) paid with 1000.
FinishedSale sampleSale();

QString testData(const QString& name);
QByteArray fileBytes(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// A file's or folder's permission bits, as in 0600.
int permissions(const QString& path);

// The text of a part of a workbook file.
QString partOf(const QString& path, const QString& part);

// A change to a part of a workbook: what the pattern matches in the part's
// text is replaced; an empty pattern replaces the whole part, and an empty
// pattern and text remove it.
struct PartEdit {
    QString part, pattern, text;
};
// The default sales template, changed.
QByteArray templateBytes(const QList<PartEdit>& edits = {});

// The workbook as openpyxl reads it (see read_workbook.py).
QJsonObject readWorkbook(const QString& path);
// The cells of one sheet as "A6" -> [value, type, font, size, underline,
// bold, number format].
QJsonObject cellsOf(const QJsonObject& workbook, const QString& sheet);

// The text of a PDF as pdftotext gives it.
QString pdfText(const QString& path);
// The first page at 72 dots per inch, one pixel a point.
QImage pdfPage(const QString& path);
// Whether any pixel in the rectangle is dark.
bool inked(const QImage& page, const QRectF& points);

// A printer that takes or refuses every job and remembers what it got.
class FakePrinter : public ReceiptPrinter {
public:
    explicit FakePrinter(bool accepts) : accepts_(accepts), previous_(ReceiptPrinter::use(this)) {}
    ~FakePrinter() override { ReceiptPrinter::use(previous_); }
    QString name() const override { return QStringLiteral("ROLL58"); }
    bool print(const SheetPage& page, const QString& jobName, QString& error) override
    {
        jobs << jobName;
        lastSize = page.size();
        error = accepts_ ? QString() : QStringLiteral("ROLL58: paper out");
        return accepts_;
    }
    QStringList jobs;
    QSizeF lastSize;

private:
    bool accepts_;
    ReceiptPrinter* previous_;
};
