#include "reports/ReportQuery.h"

#include <QSqlError>

QString StoreRegister::condition(QStringView alias) const
{
    const QString a = alias.toString();
    const QString ofStore = a + QStringLiteral("CF01 = ?");
    return registerCode ? ofStore + QStringLiteral(" AND ") + a + QStringLiteral("CF02 = ?")
                        : ofStore;
}

QVariantList StoreRegister::values() const
{
    return registerCode ? QVariantList{store, *registerCode} : QVariantList{store};
}

DbResult forEachRow(Database& db, const QString& sql, const QVariantList& values,
                    const std::function<void(const QSqlQuery&)>& row)
{
    QSqlQuery query(db.handle());
    query.setForwardOnly(true);
    if (DbResult r = db.exec(query, sql, values); !r.ok())
        return r;
    while (query.next())
        row(query);
    if (query.lastError().isValid())
        return db.failed(sql, query.lastError());
    return {};
}

QHash<QString, int> dayIndex(const QStringList& dates)
{
    QHash<QString, int> index;
    for (int i = 0; i < dates.size(); ++i)
        index.insert(dates[i], i);
    return index;
}
