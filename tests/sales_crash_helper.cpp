// Posts sales and returns of every settlement kind in a loop through the
// program's own posting code until it is killed (or `count` are posted),
// each under the receipt number after the stored counter, as the counter
// screens do.
//
//   sales_crash_helper <program folder> [count]
//
// On a server it holds the register's presence as the program does.

#include "data/Clock.h"
#include "data/DatabaseSettings.h"
#include "data/ServerPresence.h"
#include "pos/CounterParameters.h"
#include "pos/SalePosting.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    Database::setFolder(QString::fromLocal8Bit(argc > 1 ? argv[1] : ""));
    Database db;
    CounterParameters shop;
    ServerPresence presence;
    if (DatabaseSettings::current().onServer() && presence.take() != ServerPresence::Outcome::Taken)
        return 5;
    if (argc < 2 || !db.open().ok() || !shop.load(db).ok())
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    const int count = argc > 2 ? std::atoi(argv[2]) : -1;
    for (int i = 0; i != count; ++i) {
        SaleDraft d;
        if (!nextReceiptNumber(db, d.receipt).ok())
            return 3;
        static_cast<ReceiptStamp&>(d) = {shop.storeCode, shop.registerCode, d.receipt,
                                         shop.staffCode, shop.businessDate, Clock::now()};
        d.isReturn = i % 4 == 3;
        for (int l = 0; l <= i % 7; ++l)
            d.lines << SaleLine::make(QStringLiteral("49000000%1").arg(l, 5, 10, QChar(u'0')),
                                      QStringLiteral("商品"), 100 + 10 * l, QStringLiteral("2"),
                                      0.08, QStringLiteral("1"), QStringLiteral("101"), 50);
        d.settlement = static_cast<Settlement>(i % 3);
        const double due = d.totals().total;
        d.tendered = d.settlement == Settlement::Cash            ? due + 1000
                     : d.settlement == Settlement::PartialCredit ? due / 2
                                                                 : 0;
        if (const PostingResult result = postSale(db, d); !result.posted()) {
            std::fprintf(stderr, "%s\n",
                         result.error ? qPrintable(result.error->describe()) : "duplicate");
            return 4;
        }
    }
    return 0;
}
