// Posts sales and returns in a loop through the program's own posting code,
// as fast as it can, until it is killed. Each posting takes the receipt
// number after the stored counter, as the counter screens do.
//
//   sales_crash_helper <program folder>

#include "data/Clock.h"
#include "pos/CounterParameters.h"
#include "pos/SalePosting.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Database::setFolder(QString::fromLocal8Bit(argv[1]));
    Database db;
    CounterParameters shop;
    if (!db.open().ok() || !shop.load(db).ok())
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 0;; ++i) {
        SaleDraft draft;
        if (!nextReceiptNumber(db, draft.receipt).ok())
            return 3;
        draft.isReturn = i % 4 == 3;
        draft.store = shop.storeCode;
        draft.registerCode = shop.registerCode;
        draft.staffCode = shop.staffCode;
        draft.businessDate = shop.businessDate;
        for (int l = 0; l <= i % 7; ++l)
            draft.lines << SaleLine::make(QStringLiteral("49000000%1").arg(l, 5, 10, QChar(u'0')),
                                          QStringLiteral("商品"), 100 + 10 * l, QStringLiteral("2"),
                                          shop.taxRate, QStringLiteral("1"), QStringLiteral("101"),
                                          50);
        draft.settlement = static_cast<Settlement>(i % 3);
        const double due = draft.totals().total;
        draft.tendered = draft.settlement == Settlement::Cash            ? due + 1000
                         : draft.settlement == Settlement::PartialCredit ? due / 2
                                                                         : 0;
        draft.moment = Clock::now();
        const PostingResult result = postSale(db, draft);
        if (!result.posted()) {
            std::fprintf(stderr, "%s\n",
                         result.error ? qPrintable(result.error->describe()) : "duplicate");
            return 4;
        }
    }
}
