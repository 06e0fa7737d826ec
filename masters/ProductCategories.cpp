#include "masters/ProductCategories.h"

#include "data/RecordSet.h"

namespace {
DbResult read(Database& db, const Select& select, QList<CategoryChoice>& out)
{
    out.clear();
    RecordSet rs(db);
    if (DbResult r = rs.open(select); !r.ok())
        return r;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out.append(
            {rs.text(QStringLiteral("CB02")), static_cast<int>(rs.number(QStringLiteral("CB01")))});
    return {};
}
} // namespace

namespace ProductCategories {

DbResult majors(Database& db, QList<CategoryChoice>& out)
{
    const QString code = QStringLiteral("CB01");
    return read(db,
                Select(QStringLiteral("MBMBRL"))
                    .where(code, QStringLiteral(">="), QStringLiteral("0"))
                    .orderBy({code}),
                out);
}

DbResult middles(Database& db, const QString& major, QList<CategoryChoice>& out)
{
    const QString code = QStringLiteral("CB01");
    return read(db,
                Select(QStringLiteral("MBMBRM"))
                    .where(code, QStringLiteral(">="), major + QStringLiteral("00"))
                    .where(code, QStringLiteral("<="), major + QStringLiteral("99"))
                    .orderBy({code}),
                out);
}

QString majorCode(int number)
{
    return QString::number(number + 10).right(1);
}

QString middleNumber(int number)
{
    return QString::number(number + 100).right(2);
}

} // namespace ProductCategories
