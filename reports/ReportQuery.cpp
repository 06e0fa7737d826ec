#include "reports/ReportQuery.h"

#include <QSqlError>

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
