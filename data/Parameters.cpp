#include "data/Parameters.h"

#include "data/Clock.h"
#include "data/Conversions.h"
#include "data/RecordSet.h"

namespace {
Select byKey(const QString& key)
{
    return Select(QStringLiteral("MBMSYS"))
        .where(QStringLiteral("CB01"), QStringLiteral("="), key)
        .orderBy({QStringLiteral("CB01")});
}
} // namespace

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
