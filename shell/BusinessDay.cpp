#include "shell/BusinessDay.h"

#include "data/Clock.h"
#include "data/Conversions.h"

namespace BusinessDay {

QStringList headerKeys()
{
    return {QStringLiteral("company"), QStringLiteral("store"), QStringLiteral("register"),
            QStringLiteral("charge"),  QStringLiteral("tax"),   QStringLiteral("workday")};
}

DbResult assign(Database& db, const Parameters& loaded, Header& header)
{
    const QString workday = QStringLiteral("workday");
    const QString state = loaded.second(workday, QStringLiteral("ERROR"));
    if (state != QLatin1String("NLEND")) {
        header.businessDate = loaded.first(workday, QStringLiteral("00000000"));
    } else {
        header.businessDate = Clock::today();
        DbResult r = Parameters::change(
            db, workday, {{"CB02", header.businessDate}, {"CB03", QStringLiteral("RUN")}});
        if (!r.ok())
            return r;
    }

    header.storeCode = loaded.first(QStringLiteral("store"), QStringLiteral("00"));
    header.registerValue = loaded.first(QStringLiteral("register"), QStringLiteral("00"));
    header.company = loaded.second(QStringLiteral("company"));
    header.store =
        header.storeCode + QStringLiteral(" / ") + loaded.second(QStringLiteral("store"));
    header.registerCode = header.registerValue;

    std::optional<Parameter> receipt;
    if (DbResult r = Parameters::read(db, QStringLiteral("receipt"), receipt); !r.ok())
        return r;
    header.nextReceipt.clear();
    if (receipt) {
        const QString period = Conversions::periodCode(header.businessDate);
        if (receipt->first != period) {
            DbResult r = Parameters::change(db, QStringLiteral("receipt"),
                                            {{"CB02", period}, {"CB03", QStringLiteral("00000")}});
            if (!r.ok())
                return r;
            if (DbResult again = Parameters::read(db, QStringLiteral("receipt"), receipt);
                !again.ok())
                return again;
        }
        if (receipt)
            header.nextReceipt = receipt->first + Conversions::nextSequence(receipt->second);
    }

    header.staff = loaded.first(QStringLiteral("charge"), QStringLiteral("0000")) +
                   QStringLiteral(" / ") +
                   loaded.second(QStringLiteral("charge"), QStringLiteral(" "));
    header.taxRate = Conversions::plainNumber(loaded.number(QStringLiteral("tax")));
    return {};
}

DbResult close(Database& db)
{
    return Parameters::change(db, QStringLiteral("workday"), {{"CB03", QStringLiteral("NLEND")}});
}

} // namespace BusinessDay
