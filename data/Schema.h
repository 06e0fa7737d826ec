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
std::vector<Migration> migrations();
// The layout version this program makes and expects (PRAGMA user_version).
int version();

struct Table {
    QString name;
    QStringList fields; // in stored order, the appended ones last
    qsizetype firstVersionFields = 0;
};

const std::vector<Table>& tables();
// The fields of a table in their stored order; empty for an unknown name.
QStringList fieldsOf(const QString& table);
// The table's layout; nothing for an unknown name.
const Table* table(const QString& name);

// Creates the tables of the first version with their keys and indexes and the
// parameter records with their first values, then takes every step, so that
// a new file has the layout of version 1 + steps.size().
DbResult create(Database& db, const std::vector<Migration>& steps = migrations());

// Takes the steps after version `from` and stamps the file with the version
// they lead to; the caller holds the transaction.
DbResult migrate(Database& db, int from, const std::vector<Migration>& steps);

// The first way in which the tables of `file` differ from those of
// `reference` (columns, their types, keys, indexes), in the operator's words;
// nothing when they match. Tables the reference lacks are not looked at.
DbResult layoutDifference(Database& file, Database& reference, std::optional<QString>& difference);

// Where a file is copied before it is brought to a newer layout; the copy goes
// once the new version is committed.
inline constexpr const char* BeforeUpgradeSuffix = ".before-upgrade";

// Makes sure the database file of the program folder is usable: creates it
// when it is missing, brings a file of an earlier version forward by the
// steps, refuses a file that cannot be opened, is not a database of this
// system, is of a newer version or whose tables differ from the definitions.
// Returns the reason, for the operator, when the file cannot be used; the
// file is left as it was then.
std::optional<QString> prepareFile(const std::vector<Migration>& steps = migrations());

// The same for the shop's database wherever MUK4.ini puts it: on a server,
// an empty database is made the shop's, and one of an earlier version is
// brought forward while other registers keep working. Returns the whole
// message for the operator when it cannot be used.
std::optional<QString> prepareDatabase(const std::vector<Migration>& steps = migrations());

} // namespace Schema
