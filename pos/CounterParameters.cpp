#include "pos/CounterParameters.h"

#include "data/Conversions.h"
#include "data/Parameters.h"
#include "data/RecordSet.h"

DbResult CounterParameters::load(Database& db)
{
    Parameters p;
    const QStringList keys{QStringLiteral("store"),   QStringLiteral("register"),
                           QStringLiteral("charge"),  QStringLiteral("tax"),
                           QStringLiteral("workday"), QStringLiteral("printer"),
                           QStringLiteral("invoice")};
    if (DbResult r = p.load(db, keys); !r.ok())
        return r;
    *this = CounterParameters{};
    storeCode = p.first(QStringLiteral("store"), storeCode);
    storeName = p.second(QStringLiteral("store"));
    registerCode = p.first(QStringLiteral("register"), registerCode);
    staffCode = p.first(QStringLiteral("charge"), staffCode);
    staffName = p.second(QStringLiteral("charge"));
    taxRate = p.number(QStringLiteral("tax"));
    reducedRate = p.secondNumber(QStringLiteral("tax"));
    registrationNumber = p.first(QStringLiteral("invoice")).trimmed();
    businessDate = p.first(QStringLiteral("workday"), businessDate);
    if (p.has(QStringLiteral("printer")))
        printer = p.first(QStringLiteral("printer")) + QStringLiteral("00");
    return {};
}

DbResult nextReceiptNumber(Database& db, QString& out)
{
    out.clear();
    std::optional<Parameter> receipt;
    if (DbResult r = Parameters::read(db, QStringLiteral("receipt"), receipt); !r.ok())
        return r;
    if (receipt)
        out = receipt->first + Conversions::nextSequence(receipt->second);
    return {};
}

DbResult staffList(Database& db, QList<StaffMember>& out)
{
    out.clear();
    RecordSet rs(db);
    DbResult r =
        rs.open(Select(QStringLiteral("MBMCHR"))
                    .columns({QStringLiteral("CB01"), QStringLiteral("CB02")})
                    .where(QStringLiteral("CB01"), QStringLiteral(">"), QStringLiteral("0000"))
                    .orderBy({QStringLiteral("CB01")}));
    if (!r.ok())
        return r;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out << StaffMember{rs.text(QStringLiteral("CB01")), rs.text(QStringLiteral("CB02"))};
    return {};
}

DbResult chooseCashier(Database& db, const StaffMember& member)
{
    return Parameters::change(
        db, QStringLiteral("charge"),
        {{QStringLiteral("CB02"), member.code}, {QStringLiteral("CB03"), member.name}});
}
