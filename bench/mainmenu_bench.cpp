// Times the main menu's activation (parameters, business day, today's
// totals) on a database holding one year of a busy register.
//
//   muk4bench [folder]   (default: ./bench-data; made on the first run)

#include "BusyYear.h"

#include "data/Parameters.h"
#include "data/Schema.h"
#include "shell/BusinessDay.h"
#include "shell/TodayTotals.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bench-data");
    const BusyYear year{QDate(2025, 12, 1)};
    if (!year.prepare(folder))
        return 1;
    const QString lastDay =
        year.firstDay.addDays(year.days - 1).toString(QStringLiteral("yyyyMMdd"));
    {
        // The business day in progress is the last generated one.
        Database db;
        if (!db.open().ok() ||
            !Parameters::change(db, QStringLiteral("workday"),
                                {{"CB02", lastDay}, {"CB03", QStringLiteral("RUN")}})
                 .ok())
            return 1;
    }

    const int rounds = 200;
    std::vector<double> times;
    TodayTotals totals;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        Database db;
        Parameters parameters;
        BusinessDay::Header header;
        if (!db.open().ok() ||
            !parameters.load(db, QStringList{QStringLiteral("caption")} + BusinessDay::headerKeys())
                 .ok() ||
            !BusinessDay::assign(db, parameters, header).ok() ||
            !totals.read(db, header.storeCode, header.registerValue, header.businessDate).ok())
            return 1;
        db.close();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("main menu activation on %s (%lld sales receipts that day): median %.2f ms, "
                "90th percentile %.2f ms, worst %.2f ms over %d rounds\n",
                qPrintable(lastDay), static_cast<long long>(year.salesPerDay), times[rounds / 2],
                times[rounds * 9 / 10], times.back(), rounds);
    std::printf("cash %.0f, sales %.0f, returns %.0f, deposits %.0f, payments %.0f\n",
                totals.cash(), totals.sales(), totals.returns, totals.deposits, totals.payments);
    return 0;
}
