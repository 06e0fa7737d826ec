#pragma once

#include "data/Database.h"

#include <QStringList>

#include <optional>

// Every table of the system, made once when the database file is created.
namespace Schema {

// Stored in the file header so that a file of another program is never
// taken for the shop's database.
inline constexpr quint32 ApplicationId = 0x4D554B34; // "MUK4"

// One change of the layout after the first version (an index, a table, a
// column). Steps run in order; step i brings a file from version i to i + 1.
// A new step is appended, never an edit of an earlier one or of the
// creation code alone: a shop's existing file must take the same way.
struct Migration {
    QString purpose;
    QStringList statements;
};
const std::vector<Migration>& migrations();
// The layout version this program makes and expects (PRAGMA user_version).
int version();

struct Table {
    QString name;
    QStringList fields;
};

const std::vector<Table>& tables();
// The fields of a table in their stored order; empty for an unknown name.
QStringList fieldsOf(const QString& table);

// Creates the tables of the first version with their keys and indexes and the
// parameter records with their first values, then takes every migration
// step, so that a new file has the current layout.
DbResult create(Database& db);

// Makes sure the database file of the program folder is usable: creates it
// when it is missing, refuses a file that cannot be opened or is not a
// database of this system. Returns the reason, for the operator, when the
// file cannot be used; the file is left untouched then.
std::optional<QString> prepareFile();

} // namespace Schema
