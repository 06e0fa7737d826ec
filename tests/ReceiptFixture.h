#pragma once

#include "pos/Receipt.h"
#include "pos/ReceiptPrinter.h"

#include <QImage>
#include <QJsonObject>
#include <QSizeF>
#include <QString>
#include <QTemporaryDir>

// A finished cash sale of two lines (quantities 1 and 3) with change.
FinishedSale sampleSale();
// A deposit of 1200 x 3.
FinishedCashMovement sampleDeposit();

QString testData(const QString& name);
QByteArray fileBytes(const QString& path);
void copyFile(const QString& from, const QString& to);

// The workbook as openpyxl reads it (see read_workbook.py).
QJsonObject readWorkbook(const QString& path);
// The cells of one sheet as "A6" -> [value, type, font, size, underline,
// bold, number format].
QJsonObject cellsOf(const QJsonObject& workbook, const QString& sheet);

// The text of a PDF as pdftotext gives it, in compatibility form (the PDF
// may name some kanji by their radical's code).
QString pdfText(const QString& path);
// Page size in points, from pdfinfo.
QSizeF pdfPageSize(const QString& path);
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
    bool print(const SheetPage& page, const QString& jobName, QString& error) override;
    QStringList jobs;
    QSizeF lastSize;

private:
    bool accepts_;
    ReceiptPrinter* previous_;
};

// A small tmpfs folder, mounted while it lives, for a full disk or a folder
// that cannot be written. Needs root; mounted() tells.
class SmallDisk {
public:
    explicit SmallDisk(const QString& size);
    ~SmallDisk();
    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    // Writes a file that takes every free byte.
    void fill();
    bool makeReadOnly();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};
