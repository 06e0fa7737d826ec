#include "data/MasterTable.h"

#include "data/Clock.h"
#include "data/RecordSet.h"
#include "data/Schema.h"

namespace {
Select byKey(const QString& table, const QString& keyField, const QString& key)
{
    return Select(table).where(keyField, QStringLiteral("="), key).orderBy({keyField});
}
} // namespace

MasterTable::MasterTable(QString table) : table_(std::move(table))
{
    const Schema::Table* layout = Schema::table(table_);
    Q_ASSERT(layout && layout->firstVersionFields >= 5);
    fields_ = layout->fields;
    keyField_ = fields_.value(0);
    // Columns appended later stand after the audit fields of the first
    // layout, which keep their places.
    const qsizetype n = layout->firstVersionFields;
    audit_ = {fields_[n - 4], fields_[n - 3], fields_[n - 2], fields_[n - 1]};
}

DbResult MasterTable::find(Database& db, const QString& key, std::optional<QVariantMap>& out) const
{
    out.reset();
    RecordSet rs(db);
    if (DbResult r = rs.open(byKey(table_, keyField_, key)); !r.ok())
        return r;
    if (rs.found())
        out = rs.record();
    return {};
}

DbResult MasterTable::store(Database& db, const QString& key, const QVariantMap& always,
                            const QVariantMap& onAdd, Stored* stored) const
{
    return Transaction::retried(db, [&] { return storeOnce(db, key, always, onAdd, stored); });
}

DbResult MasterTable::storeOnce(Database& db, const QString& key, const QVariantMap& always,
                                const QVariantMap& onAdd, Stored* stored) const
{
    const QString today = Clock::today();
    const QString now = Clock::time();
    Transaction transaction(db);
    if (!transaction.started().ok())
        return transaction.started();
    RecordSet rs(db);
    if (DbResult r = rs.open(byKey(table_, keyField_, key)); !r.ok())
        return r;
    const bool adding = !rs.found();
    if (adding) {
        rs.addNew();
        rs.setValue(keyField_, key);
        for (auto it = onAdd.cbegin(); it != onAdd.cend(); ++it)
            rs.setValue(it.key(), it.value());
        rs.setValue(audit_[0], today);
        rs.setValue(audit_[1], now);
    } else {
        rs.edit();
    }
    for (auto it = always.cbegin(); it != always.cend(); ++it)
        rs.setValue(it.key(), it.value());
    rs.setValue(audit_[2], today);
    rs.setValue(audit_[3], now);
    if (DbResult r = rs.update(); !r.ok())
        return r;
    if (stored)
        *stored = adding ? Stored::Added : Stored::Changed;
    return transaction.commit();
}

DbResult MasterTable::archiveAndDelete(Database& db, const QString& key, bool* deleted) const
{
    return Transaction::retried(db, [&] { return archiveOnce(db, key, deleted); });
}

DbResult MasterTable::archiveOnce(Database& db, const QString& key, bool* deleted) const
{
    if (deleted)
        *deleted = false;
    Transaction transaction(db);
    if (!transaction.started().ok())
        return transaction.started();
    RecordSet rs(db);
    if (DbResult r = rs.open(byKey(table_, keyField_, key)); !r.ok())
        return r;
    if (!rs.found())
        return {};
    // The archive only ever grows: the row goes straight in, without reading
    // the copies archived before it.
    QVariantList values;
    for (const QString& field : fields_) {
        values << (field == audit_[2]   ? QVariant(Clock::today())
                   : field == audit_[3] ? QVariant(Clock::time())
                                        : rs.value(field));
    }
    const QStringList marks(fields_.size(), QStringLiteral("?"));
    if (DbResult r = db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(archive(), fields_.join(u','), marks.join(u',')),
                                values);
        !r.ok())
        return r;
    if (DbResult r = rs.remove(); !r.ok())
        return r;
    if (DbResult r = transaction.commit(); !r.ok())
        return r;
    if (deleted)
        *deleted = true;
    return {};
}
