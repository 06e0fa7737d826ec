#include "pos/SaleLine.h"

#include "data/Conversions.h"
#include "data/RecordSet.h"

CounterProduct CounterProduct::fromRecord(const QVariantMap& r)
{
    auto text = [&r](const char* field) { return r.value(QLatin1String(field)).toString(); };
    CounterProduct p;
    p.code = text("CB01");
    p.name = text("CB02");
    p.major = text("CB04");
    p.middle = text("CB05");
    p.cost = text("CB07");
    p.price = text("CB11");
    p.kind = text("CB13");
    p.special = Conversions::plainNumber(Conversions::toNumber(text("CB14")));
    p.periodFrom = text("CB15");
    p.periodTo = text("CB16");
    p.timeFrom = text("CB17");
    p.timeTo = text("CB18");
    return p;
}

DbResult findProduct(Database& db, const QString& code, std::optional<CounterProduct>& out)
{
    out.reset();
    RecordSet rs(db);
    DbResult r = rs.open(Select(QStringLiteral("MBMSHO"))
                             .columns({"CB01", "CB02", "CB04", "CB05", "CB07", "CB11", "CB13",
                                       "CB14", "CB15", "CB16", "CB17", "CB18"})
                             .where(QStringLiteral("CB01"), QStringLiteral("="), code)
                             .orderBy({QStringLiteral("CB01")}));
    if (!r.ok())
        return r;
    if (rs.found())
        out = CounterProduct::fromRecord(rs.record());
    return {};
}

DbResult categoryLabel(Database& db, const QString& table, const QString& code, QString& out)
{
    out = code + QStringLiteral("   ");
    RecordSet rs(db);
    DbResult r = rs.open(Select(table)
                             .columns({QStringLiteral("CB03")})
                             .where(QStringLiteral("CB01"), QStringLiteral("="), code)
                             .orderBy({QStringLiteral("CB01")}));
    if (!r.ok())
        return r;
    if (rs.found())
        out += rs.text(QStringLiteral("CB03"));
    return {};
}

SpecialOffer specialOffer(const CounterProduct& p, const QString& today, const QString& now)
{
    const bool inPeriod = p.periodFrom <= today && today <= p.periodTo;
    const bool inTime = p.timeFrom <= now && now <= p.timeTo;
    const QString period = p.periodFrom + QStringLiteral("～") + p.periodTo;
    const QString time = p.timeFrom + QStringLiteral("～") + p.timeTo;
    SpecialOffer offer;
    QString window;
    if (p.kind == u"1") {
        offer.inForce = inPeriod && inTime;
        window = QStringLiteral("特売1.") + period + u' ' + time;
    } else if (p.kind == u"2") {
        offer.inForce = inPeriod;
        window = QStringLiteral("特売2.") + period;
    } else if (p.kind == u"3") {
        offer.inForce = inTime;
        window = QStringLiteral("特売3.") + time;
    }
    if (offer.inForce) {
        offer.price = p.special;
        offer.label = window + u'<' + p.price + u'>';
    }
    return offer;
}

QString regularPriceNote(const CounterProduct& product, double taxRate)
{
    const double base = Conversions::unitBasePrice(Conversions::toNumber(product.price), taxRate);
    return Conversions::numberText(base) + QStringLiteral("  ") + product.cost;
}

SaleLine SaleLine::make(const QString& code, const QString& name, double unitPrice,
                        const QString& quantityText, double taxRate, const QString& major,
                        const QString& middle, double cost)
{
    SaleLine line;
    line.code = code;
    line.name = name;
    line.unitPrice = unitPrice;
    line.quantityText = quantityText;
    line.quantity = Conversions::toNumber(quantityText);
    line.amount = unitPrice * line.quantity;
    line.unitBase = Conversions::unitBasePrice(unitPrice, taxRate);
    line.baseAmount = line.unitBase * line.quantity;
    line.tax = line.amount - line.baseAmount;
    line.major = major;
    line.middle = middle;
    line.cost = cost;
    return line;
}

SaleTotals totalsOf(const QList<SaleLine>& lines)
{
    SaleTotals totals;
    for (const SaleLine& line : lines) {
        totals.total += line.amount;
        totals.base += line.baseAmount;
        totals.tax += line.tax;
    }
    return totals;
}
