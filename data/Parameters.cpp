#include "data/Parameters.h"

#include "data/Clock.h"
#include "data/Conversions.h"
#include "data/DatabaseSettings.h"
#include "data/RecordSet.h"

namespace {
const QString shop = QStringLiteral(" ");
const QString registerField = QStringLiteral("CB09");

// The file is one register's: its own records are those it holds, whatever
// code they were stored under, and its "register" record names it. On a
// server the settings name the register.
Select byKey(const QString& key)
{
    Select select = Select(QStringLiteral("MBMSYS"))
                        .where(QStringLiteral("CB01"), QStringLiteral("="), key)
                        .orderBy({QStringLiteral("CB01")});
    const DatabaseSettings& settings = DatabaseSettings::current();
    if (!Parameters::ofRegister(key))
        return select.where(registerField, QStringLiteral("="), shop);
    if (settings.onServer())
        return select.where(registerField, QStringLiteral("="), settings.registerCode);
    return select.where(registerField, QStringLiteral("<>"), shop);
}
} // namespace

bool Parameters::ofRegister(const QString& key)
{
    static const QStringList keys{"register", "charge", "workday", "receipt", "printer"};
    return keys.contains(key);
}

Select Parameters::listed()
{
    Select select(QStringLiteral("MBMSYS"));
    select.where(QStringLiteral("CB01"), QStringLiteral("<>"), shop);
    const DatabaseSettings& settings = DatabaseSettings::current();
    if (settings.onServer())
        select.whereAmong(registerField, {shop, settings.registerCode});
    return select.orderBy({QStringLiteral("CB01")});
}

DbResult Parameters::prepareRegister(Database& db)
{
    const DatabaseSettings& settings = DatabaseSettings::current();
    if (!settings.onServer())
        return {};
    const QString code = settings.registerCode;
    // The workday starts as closed so that the first start opens today's
    // business day; the blank period code starts a new receipt period.
    const QList<QStringList> firsts{{"register", code, shop},
                                    {"charge", "0000", shop},
                                    {"workday", "00000000", "NLEND"},
                                    {"receipt", shop, "00000"},
                                    {"printer", "01", shop}};
    return Transaction::retried(db, [&]() -> DbResult {
        Transaction transaction(db);
        if (!transaction.started().ok())
            return transaction.started();
        for (const QStringList& first : firsts) {
            DbResult r = db.execute(
                QStringLiteral("INSERT INTO MBMSYS (CB01, CB02, CB03, CB04, CB07, CB08, CB09) "
                               "SELECT ?, ?, ?, ?, ?, ?, ? WHERE NOT EXISTS "
                               "(SELECT 1 FROM MBMSYS WHERE CB01 = ? AND CB09 = ?)"),
                {first[0], first[1], first[2], shop, Clock::today(), Clock::time(), code, first[0],
                 code});
            if (!r.ok())
                return r;
        }
        return transaction.commit();
    });
}

DbResult Parameters::load(Database& db, const QStringList& keys)
{
    for (const QString& key : keys) {
        std::optional<Parameter> record;
        if (DbResult r = read(db, key, record); !r.ok())
            return r;
        if (record)
            records_.insert(key, *record);
        else
            records_.remove(key);
    }
    return {};
}

QString Parameters::first(const QString& key, const QString& fallback) const
{
    const auto it = records_.constFind(key);
    return it == records_.cend() ? fallback : it->first;
}

QString Parameters::second(const QString& key, const QString& fallback) const
{
    const auto it = records_.constFind(key);
    return it == records_.cend() ? fallback : it->second;
}

double Parameters::number(const QString& key, double fallback) const
{
    const auto it = records_.constFind(key);
    return it == records_.cend() ? fallback : Conversions::toNumber(it->first);
}

double Parameters::secondNumber(const QString& key, double fallback) const
{
    const auto it = records_.constFind(key);
    return it == records_.cend() ? fallback : Conversions::toNumber(it->second);
}

DbResult Parameters::read(Database& db, const QString& key, std::optional<Parameter>& out)
{
    out.reset();
    RecordSet rs(db);
    if (DbResult r = rs.open(byKey(key)); !r.ok())
        return r;
    if (rs.found())
        out = Parameter{rs.text(QStringLiteral("CB01")), rs.text(QStringLiteral("CB02")),
                        rs.text(QStringLiteral("CB03"))};
    return {};
}

DbResult Parameters::change(Database& db, const QString& key, const QVariantMap& fields,
                            bool* found)
{
    RecordSet rs(db);
    if (DbResult r = rs.open(byKey(key)); !r.ok())
        return r;
    if (found)
        *found = rs.found();
    if (!rs.found())
        return {};
    rs.edit();
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        rs.setValue(it.key(), it.value());
    rs.setValue(QStringLiteral("CB07"), Clock::today());
    rs.setValue(QStringLiteral("CB08"), Clock::time());
    return rs.update();
}
