// Not a test: writes two sample sales receipts as PDFs, one from the default
// template and one from the template the shop reworked in LibreOffice Calc,
// for looking at them (tools/screenshots turns them into pictures).
//
//   receipt_samples FOLDER   ->  FOLDER/default.pdf, FOLDER/edited.pdf

#include "ReceiptFixture.h"

#include "pos/ReceiptOutput.h"
#include "pos/ReceiptTemplates.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: receipt_samples FOLDER\n");
        return 2;
    }
    FinishedSale sale = finishedSale(
        Settlement::Cash, 5000,
        {saleLine("クロワッサン", 1, 220), saleLine("北海道産バターロール６個入", 3, 198),
         saleLine("カンパーニュ（ハーフ）", 1, 380), saleLine("季節のフルーツタルト", 2, 1280)});
    sale.taxTotal = 278;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    for (const bool edited : {false, true}) {
        QTemporaryDir folder;
        if (edited)
            QFile::copy(testData("MUK4ECR1-shop.xlsx"),
                        ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales));
        const ReceiptOutcome outcome =
            produceReceipt(sale, folder.path(), QStringLiteral("山田商店"));
        const QString target = QDir(out).filePath(edited ? QStringLiteral("edited.pdf")
                                                         : QStringLiteral("default.pdf"));
        QFile::remove(target);
        if (outcome.kind != ReceiptOutcome::Kind::Pdf || !QFile::copy(outcome.where, target)) {
            std::fprintf(stderr, "%s %s\n", qPrintable(outcome.reason), qPrintable(outcome.detail));
            return 1;
        }
    }
    return 0;
}
