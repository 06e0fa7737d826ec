#include "pos/SaleLine.h"

#include "data/Conversions.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
const QStringList productFields{"CB01", "CB02", "CB04", "CB05", "CB07", "CB11", "CB13",
                                "CB14", "CB15", "CB16", "CB17", "CB18", "CB25"};

// Runs a prepared look-up by key, leaving the query on its first row when
// there is one.
DbResult lookUp(Database& db, const QString& statement, const QString& key, QSqlQuery*& query,
                bool& found)
{
    DbResult prepared;
    query = db.prepared(statement, prepared);
    if (!query)
        return prepared;
    query->bindValue(0, key);
    if (!query->exec())
        return db.failed(statement, query->lastError());
    found = query->next();
    if (!found && query->lastError().isValid())
        return db.failed(statement, query->lastError());
    return {};
}
} // namespace

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
    p.reduced = text("CB25") == u"1";
    // The special price matters only where a special is set up.
    QStringList prices{QStringLiteral("CB11"), QStringLiteral("CB07")};
    if (p.kind == u"1" || p.kind == u"2" || p.kind == u"3")
        prices << QStringLiteral("CB14");
    for (const QString& field : prices) {
        const QString stored = r.value(field).toString();
        if (!Conversions::storedNumber(stored, PriceDigits)) {
            p.badValue = field + QStringLiteral(" = ") + stored;
            break;
        }
    }
    return p;
}

DbResult findProduct(Database& db, const QString& code, std::optional<CounterProduct>& out)
{
    // Prepared once per screen: this runs at every scan.
    static const QString statement = QStringLiteral("SELECT %1 FROM MBMSHO WHERE CB01 = ? ORDER BY "
                                                    "CB01")
                                         .arg(productFields.join(u','));
    out.reset();
    QSqlQuery* query = nullptr;
    bool found = false;
    if (DbResult r = lookUp(db, statement, code, query, found); !r.ok())
        return r;
    if (found) {
        QVariantMap record;
        for (int i = 0; i < productFields.size(); ++i)
            record.insert(productFields[i], query->value(i));
        out = CounterProduct::fromRecord(record);
    }
    query->finish();
    return {};
}

DbResult categoryLabel(Database& db, const QString& table, const QString& code, QString& out)
{
    if (table != u"MBMBRL" && table != u"MBMBRM")
        return DbError{table, QStringLiteral("not a category table")};
    // The major category stands three blanks from its name, the middle one.
    out = code + QString(table == u"MBMBRL" ? 3 : 1, u' ');
    const QString statement =
        QStringLiteral("SELECT CB03 FROM %1 WHERE CB01 = ? ORDER BY CB01").arg(table);
    QSqlQuery* query = nullptr;
    bool found = false;
    if (DbResult r = lookUp(db, statement, code, query, found); !r.ok())
        return r;
    if (found)
        out += query->value(0).toString();
    query->finish();
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
    line.taxRate = taxRate;
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
