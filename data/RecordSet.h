#pragma once

#include "data/Database.h"

#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <vector>

// The shape of every query the screens make: one table, conditions joined by
// AND, an ordering. Table and field names come from the program; the values
// come from the operator and are always bound, never pasted into the text.
class Select {
public:
    explicit Select(QString table);

    // op is one of =, <>, >, >=, <, <=.
    Select& where(const QString& field, const QString& op, const QVariant& value);
    // The field equals one of the values.
    Select& whereAmong(const QString& field, const QVariantList& values);
    Select& orderBy(const QStringList& fields);
    // Restricts the columns read (the record set stays editable by row).
    Select& columns(const QStringList& fields);

    const QString& table() const { return table_; }
    bool valid() const;
    // Reads the row's name (rowId) first, then the columns.
    QString statement(const QString& rowId = QStringLiteral("rowid")) const;
    const QVariantList& values() const { return values_; }

private:
    QString table_;
    QStringList conditions_;
    QVariantList values_;
    QStringList order_;
    QStringList columns_;
    bool valid_ = true;
};

// An updatable result, positioned on its first record after opening, with
// the navigation, field access and add/edit/update/delete the screens use.
class RecordSet {
public:
    explicit RecordSet(Database& db);

    DbResult open(const Select& select);

    // Nothing was found when the set is both before its start and past its end.
    bool found() const { return !(bof() && eof()); }
    bool bof() const { return rows_.empty() || position_ < 0; }
    bool eof() const { return rows_.empty() || position_ >= static_cast<qint64>(rows_.size()); }
    void moveFirst() { position_ = 0; }
    void moveLast() { position_ = static_cast<qint64>(rows_.size()) - 1; }
    void moveNext() { ++position_; }
    qint64 recordCount() const { return static_cast<qint64>(rows_.size()); }

    QVariant value(const QString& field) const;
    QString text(const QString& field) const { return value(field).toString(); }
    double number(const QString& field) const;
    // Every field of the current record by name.
    QVariantMap record() const;

    void addNew();
    void edit();
    void setValue(const QString& field, const QVariant& value);
    DbResult update();
    DbResult remove();

private:
    enum class Pending { None, Add, Edit };

    Database& db_;
    QString table_;
    QStringList fields_;
    std::vector<QVariantList> rows_; // column 0 holds the row id
    std::vector<QVariant> rowIds_;
    qint64 position_ = -1;
    Pending pending_ = Pending::None;
    QVariantMap changes_;
};
