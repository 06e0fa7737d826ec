#include "ReportSupport.h"

#include <QAbstractItemView>

namespace {
void run(Database& db, const QString& sql, const QVariantList& values)
{
    if (DbResult r = db.execute(sql, values); !r.ok())
        qFatal("%s", qPrintable(r.error().describe()));
}

} // namespace

void addHeader(Database& db, const Header& h)
{
    const QString written = h.written.isEmpty() ? h.date : h.written;
    run(db,
        QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, '001', ?, ' ', ?, ' ', "
                       "?, ?, ?, ' ', ?, ?, "
                       "' ', ?, ?, 0, ?, ?, ?, ?, ?)")
            .arg(h.table),
        {h.store, h.registerCode, h.receipt, h.staff, h.code, h.amount, h.paidNow,
         h.paidNow - h.amount, h.paidNow, h.onCredit, h.amount, h.tax, h.date, written, h.time,
         written, h.time});
}

void addLine(Database& db, const Line& l)
{
    run(db,
        QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?, '0001', ?, ?, ?, ?, "
                       "?, '', ' ', ?, ?, ?, "
                       "' ', ?, ?, ?, ?, ?, ' ', ?, ?, ?, ?, ?)")
            .arg(l.table),
        QVariantList() << l.store << l.registerCode << l.receipt << l.number << l.kind << l.product
                       << l.name << l.major << l.middle << l.base << l.unitBase << l.quantity
                       << l.amount << l.amount - l.base << l.unitPrice << l.unitPrice - l.unitBase
                       << l.cost << l.date << l.date << l.time << l.date << l.time);
}

QList<QStringList> gridCells(Screens& screens, const QString& name)
{
    QList<QStringList> cells;
    auto* view = screens.find<QAbstractItemView>(name);
    if (!view)
        return cells;
    const QAbstractItemModel* model = view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c)
            row << model->index(r, c).data().toString();
        cells << row;
    }
    return cells;
}
