#include "data/RecordSet.h"

#include "data/Conversions.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
bool isIdentifier(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Z][A-Z0-9]{0,15}$"));
    return pattern.match(name).hasMatch();
}

bool isOperator(const QString& op)
{
    static const QStringList operators{"=", "<>", ">", ">=", "<", "<="};
    return operators.contains(op);
}
} // namespace

Select::Select(QString table) : table_(std::move(table))
{
    valid_ = isIdentifier(table_);
}

Select& Select::where(const QString& field, const QString& op, const QVariant& value)
{
    valid_ = valid_ && isIdentifier(field) && isOperator(op);
    conditions_ << field + u' ' + op + QStringLiteral(" ?");
    values_ << value;
    return *this;
}

Select& Select::whereAmong(const QString& field, const QVariantList& values)
{
    valid_ = valid_ && isIdentifier(field) && !values.isEmpty();
    conditions_ << field + QStringLiteral(" IN (") +
                       QStringList(values.size(), QStringLiteral("?")).join(u',') + u')';
    values_ << values;
    return *this;
}

Select& Select::orderBy(const QStringList& fields)
{
    for (const QString& field : fields)
        valid_ = valid_ && isIdentifier(field);
    order_ = fields;
    return *this;
}

Select& Select::columns(const QStringList& fields)
{
    for (const QString& field : fields)
        valid_ = valid_ && isIdentifier(field);
    columns_ = fields;
    return *this;
}

bool Select::valid() const
{
    return valid_;
}

QString Select::statement(const QString& rowId) const
{
    QString sql = QStringLiteral("SELECT ") + rowId + QStringLiteral(", ") +
                  (columns_.isEmpty() ? QStringLiteral("*") : columns_.join(u',')) +
                  QStringLiteral(" FROM ") + table_;
    if (!conditions_.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions_.join(QStringLiteral(" AND "));
    if (!order_.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order_.join(u',');
    return sql;
}

RecordSet::RecordSet(Database& db) : db_(db) {}

DbResult RecordSet::open(const Select& select)
{
    rows_.clear();
    rowIds_.clear();
    fields_.clear();
    position_ = -1;
    pending_ = Pending::None;
    table_ = select.table();
    const QString sql = select.statement(db_.rowIdColumn());
    if (!select.valid())
        return DbError{sql, QStringLiteral("invalid table or field name")};

    QSqlQuery query(db_.handle());
    query.setForwardOnly(true);
    if (DbResult r = db_.exec(query, sql, select.values()); !r.ok())
        return r;

    const QSqlRecord shape = query.record();
    // The server names columns in small letters.
    for (int i = 1; i < shape.count(); ++i)
        fields_ << shape.fieldName(i).toUpper();
    const int width = shape.count();
    while (query.next()) {
        rowIds_.push_back(query.value(0));
        QVariantList row;
        row.reserve(width - 1);
        for (int i = 1; i < width; ++i)
            row << query.value(i);
        rows_.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        return db_.failed(sql, query.lastError());
    position_ = 0;
    return {};
}

QVariant RecordSet::value(const QString& field) const
{
    const qsizetype column = fields_.indexOf(field);
    if (column < 0 || bof() || eof())
        return {};
    return rows_[static_cast<size_t>(position_)][column];
}

double RecordSet::number(const QString& field) const
{
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong ||
        v.typeId() == QMetaType::Int)
        return v.toDouble();
    return Conversions::toNumber(v.toString());
}

QVariantMap RecordSet::record() const
{
    QVariantMap fields;
    for (const QString& field : fields_)
        fields.insert(field, value(field));
    return fields;
}

void RecordSet::addNew()
{
    pending_ = Pending::Add;
    changes_.clear();
}

void RecordSet::edit()
{
    pending_ = (bof() || eof()) ? Pending::None : Pending::Edit;
    changes_.clear();
}

void RecordSet::setValue(const QString& field, const QVariant& value)
{
    changes_.insert(field, value);
}

DbResult RecordSet::update()
{
    const Pending pending = std::exchange(pending_, Pending::None);
    const QVariantMap changes = std::exchange(changes_, {});
    QStringList names = changes.keys();
    for (const QString& name : names) {
        if (!isIdentifier(name))
            return DbError{table_, QStringLiteral("invalid field name ") + name};
    }
    QString sql;
    if (pending == Pending::Add) {
        QStringList marks;
        for (qsizetype i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        sql = QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" (") + names.join(u',') +
              QStringLiteral(") VALUES (") + marks.join(u',') + u')';
    } else if (pending == Pending::Edit) {
        if (names.isEmpty())
            return {};
        QStringList sets;
        for (const QString& name : names)
            sets << name + QStringLiteral(" = ?");
        // The server moves a row it updates: the new name is read back.
        sql = QStringLiteral("UPDATE ") + table_ + QStringLiteral(" SET ") + sets.join(u',') +
              QStringLiteral(" WHERE ") + db_.rowIdColumn() + QStringLiteral(" = ? RETURNING ") +
              db_.rowIdColumn();
    } else {
        return DbError{QStringLiteral("UPDATE ") + table_,
                       QStringLiteral("no add or edit pending")};
    }

    if (DbResult r = db_.readyToWrite(sql); !r.ok())
        return r;
    QSqlQuery query(db_.handle());
    if (!query.prepare(sql))
        return db_.failed(sql, query.lastError());
    for (const QString& name : names)
        query.addBindValue(changes.value(name));
    if (pending == Pending::Edit)
        query.addBindValue(rowIds_[static_cast<size_t>(position_)]);
    if (!query.exec())
        return db_.failed(sql, query.lastError());

    if (pending == Pending::Edit) {
        // A record another register deleted or changed meanwhile is not
        // overwritten unseen.
        if (!query.next())
            return DbError{sql, QStringLiteral("the record was changed or deleted meanwhile")};
        rowIds_[static_cast<size_t>(position_)] = query.value(0);
        // A statement still stepping would hold up the commit.
        query.finish();
        QVariantList& row = rows_[static_cast<size_t>(position_)];
        for (const QString& name : names) {
            const qsizetype column = fields_.indexOf(name);
            if (column >= 0)
                row[column] = changes.value(name);
        }
    }
    return {};
}

DbResult RecordSet::remove()
{
    const QString sql = QStringLiteral("DELETE FROM ") + table_ + QStringLiteral(" WHERE ") +
                        db_.rowIdColumn() + QStringLiteral(" = ?");
    if (bof() || eof())
        return DbError{sql, QStringLiteral("no current record")};
    if (DbResult r = db_.readyToWrite(sql); !r.ok())
        return r;
    QSqlQuery query(db_.handle());
    if (!query.prepare(sql))
        return db_.failed(sql, query.lastError());
    query.addBindValue(rowIds_[static_cast<size_t>(position_)]);
    if (!query.exec())
        return db_.failed(sql, query.lastError());
    rows_.erase(rows_.begin() + position_);
    rowIds_.erase(rowIds_.begin() + position_);
    return {};
}
