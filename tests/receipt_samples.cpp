// Not a test: writes sample sales receipts as PDFs, one from the default
// template, one from the template the shop reworked in LibreOffice Calc and
// one of a registered shop's sale at two rates, for looking at them
// (tools/screenshots turns them into pictures).
//
//   receipt_samples FOLDER   ->  FOLDER/default.pdf, edited.pdf, two-rates.pdf

#include "ReceiptFixture.h"

#include "pos/ReceiptOutput.h"
#include "pos/ReceiptTemplates.h"

#include <QDir>
#include <QFile>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FinishedSale sale = finishedSale(
        Settlement::Cash, 5000,
        {saleLine("クロワッサン", 1, 220), saleLine("北海道産バターロール６個入", 3, 198),
         saleLine("カンパーニュ（ハーフ）", 1, 380), saleLine("季節のフルーツタルト", 2, 1280)});
    sale.taxTotal = 278;
    // The same bakery registered, its bread at the reduced rate and a bag at
    // the standard one.
    FinishedSale twoRates = sale;
    for (SaleReceiptLine& line : twoRates.lines)
        line = saleLine(line.productName, line.quantity, line.unitPrice, true);
    twoRates.lines << saleLine("紙袋（大）", 1, 55);
    twoRates.amountDue += 55;
    twoRates.difference -= 55;
    twoRates.registrationNumber = "T9234567890123";
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    for (const char* name : {"default", "edited", "two-rates"}) {
        QTemporaryDir folder;
        if (name[0] == 'e')
            QFile::copy(testData("MUK4ECR1-shop.xlsx"),
                        ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales));
        const QString target = out.filePath(name + QStringLiteral(".pdf"));
        QFile::remove(target);
        const ReceiptOutcome outcome =
            produceReceipt(name[0] == 't' ? twoRates : sale, folder.path(), "山田商店");
        if (argc < 2 || !out.mkpath(".") || !QFile::copy(outcome.where, target))
            qFatal("usage: receipt_samples FOLDER (%s)", qPrintable(outcome.reason));
    }
    return 0;
}
