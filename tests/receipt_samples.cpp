// Not a test: writes two sample sales receipts as PDFs, one from the default
// template and one from the template the shop reworked in LibreOffice Calc,
// for looking at them (tools/screenshots turns them into pictures).
//
//   receipt_samples FOLDER   ->  FOLDER/default.pdf, FOLDER/edited.pdf

#include "pos/ReceiptOutput.h"
#include "pos/ReceiptTemplates.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

static FinishedSale sample()
{
    FinishedSale sale;
    sale.lines = {{QStringLiteral("クロワッサン"), 220, QStringLiteral("1"), 1, 220},
                  {QStringLiteral("北海道産バターロール６個入"), 594, QStringLiteral("3"), 3, 198},
                  {QStringLiteral("カンパーニュ（ハーフ）"), 380, QStringLiteral("1"), 1, 380},
                  {QStringLiteral("季節のフルーツタルト"), 2560, QStringLiteral("2"), 2, 1280}};
    sale.amountDue = 3754;
    sale.taxTotal = 278;
    sale.tendered = 5000;
    sale.difference = 1246;
    sale.receiptNumber = QStringLiteral("61200042");
    sale.staffName = QStringLiteral("佐藤 花子");
    sale.moment = QDateTime(QDate(2026, 12, 1), QTime(10, 15, 30));
    return sale;
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: receipt_samples FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    for (const bool edited : {false, true}) {
        QTemporaryDir folder;
        if (edited)
            QFile::copy(QStringLiteral(MUK4_TESTS_DIR "/data/MUK4ECR1-shop.xlsx"),
                        ReceiptTemplates::path(folder.path(), ReceiptTemplate::Sales));
        const ReceiptOutcome outcome =
            produceReceipt(sample(), folder.path(), QStringLiteral("山田商店"));
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
