// Times today's totals on the main menu beside the raw statements that do
// the same work, and the whole activation, on a database holding one year
// of a busy register.
//
//   muk4bench [folder]   (default: ./bench-data; made on the first run)

#include "BusyYear.h"

#include "data/Parameters.h"
#include "data/Schema.h"
#include "shell/BusinessDay.h"
#include "shell/TodayTotals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>

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

    // Today's totals as the program reads them, beside the raw statements
    // that do the same work, in the same run on the same file.
    const int rounds = 200;
    std::vector<double> program;
    std::vector<double> raw;
    std::vector<double> activation;
    TodayTotals totals;
    double rawCash = 0;
    for (int i = 0; i < rounds; ++i) {
        Database db;
        if (!db.open().ok())
            return 1;
        QElapsedTimer timer;
        timer.start();
        Parameters parameters;
        BusinessDay::Header header;
        if (!parameters.load(db, QStringList{QStringLiteral("caption")} + BusinessDay::headerKeys())
                 .ok() ||
            !BusinessDay::assign(db, parameters, header).ok())
            return 1;
        const double assigned = timer.nsecsElapsed() / 1e6;
        timer.restart();
        if (!totals.read(db, header.storeCode, header.registerValue, header.businessDate).ok())
            return 1;
        program.push_back(timer.nsecsElapsed() / 1e6);
        activation.push_back(assigned + program.back());

        timer.restart();
        rawCash = 0;
        const char* statements[] = {
            "SELECT total(CASE WHEN substr(CF07,1,1)='1' AND substr(CF07,-1,1)<>'9' THEN CF09 "
            "END) - total(CASE WHEN substr(CF07,1,1)='1' AND substr(CF07,-1,1)='9' THEN CF09 END) "
            "+ total(CASE WHEN substr(CF07,1,1)='2' THEN CF13 END), count(*) FROM MOMURA WHERE "
            "CF01=? AND CF02=? AND CF19=?",
            "SELECT total(CF09), count(*) FROM MOMNYK WHERE CF01=? AND CF02=? AND CF19=?",
            "SELECT -total(CF09), count(*) FROM MOMSYK WHERE CF01=? AND CF02=? AND CF19=?"};
        for (const char* statement : statements) {
            QSqlQuery query(db.handle());
            query.prepare(QString::fromLatin1(statement));
            query.addBindValue(header.storeCode);
            query.addBindValue(header.registerValue);
            query.addBindValue(header.businessDate);
            if (!query.exec() || !query.next())
                return 1;
            rawCash += query.value(0).toDouble();
        }
        raw.push_back(timer.nsecsElapsed() / 1e6);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("business day %s, %d sales receipts that day, %d rounds\n", qPrintable(lastDay),
                year.salesPerDay, rounds);
    std::printf("today's totals: program %.3f ms, raw statements %.3f ms (median), ratio %.2f\n",
                median(program), median(raw), median(program) / median(raw));
    std::printf("whole activation (parameters, business day, totals): median %.2f ms\n",
                median(activation));
    std::printf("cash %.0f (raw %.0f), sales %.0f, returns %.0f, deposits %.0f, payments %.0f\n",
                totals.cash(), rawCash, totals.sales(), totals.returns, totals.deposits,
                totals.payments);
    return totals.cash() == rawCash ? 0 : 1;
}
