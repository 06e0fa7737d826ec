#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <map>
#include <memory>
#include <optional>

class QSqlQuery;

// What the engine said when a statement failed: the screens decide how the
// operator hears of it.
struct DbError {
    // Why the engine could not write, when the operator can do something
    // about it (make room, or make the disk writable again).
    enum class Trouble { None, DiskFull, ReadOnly };

    QString statement;
    QString driverText;
    Trouble trouble = Trouble::None;

    QString describe() const;
    // The engine found the file damaged: nothing more may be written to it.
    bool damaged() const;
};

class [[nodiscard]] DbResult {
public:
    DbResult() = default;
    DbResult(DbError error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    const DbError& error() const { return *error_; }

private:
    std::optional<DbError> error_;
};

// One screen's connection to the database file. Each screen opens its own on
// loading and closes it on leaving; no connection is shared.
class Database {
public:
    static constexpr const char* FileName = "MUK4.db";

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The program folder holds the database; it is the executable's folder
    // unless a test points it elsewhere.
    static QString folder();
    static void setFolder(const QString& path);
    static QString filePath();
    // The lock a running program holds beside the database of a program
    // folder (one program per folder; the restore tool takes it too).
    static QString lockFilePath(const QString& programFolder);

    DbResult open();
    // Opens another file than the program folder's database (used while the
    // database file is first made).
    DbResult openFile(const QString& path);
    void close();
    bool isOpen() const;

    DbResult execute(const QString& statement, const QVariantList& values = {});
    // Runs a query the program wrote itself and hands back every row.
    DbResult select(const QString& statement, const QVariantList& values,
                    QList<QVariantList>& rows);
    QSqlDatabase handle() const { return db_; }

    // The error of a failed statement on this connection. A damaged file is
    // remembered: from then on nothing more is written to it by any
    // connection of the program.
    DbError failed(const QString& statement, const QString& driverText) const;
    // Prepares the statement on the query, binds the values and runs it.
    DbResult exec(QSqlQuery& query, const QString& statement, const QVariantList& values);
    // Whether the engine has reported this connection's file damaged.
    bool damaged() const;
    // Whether a write may go ahead: never to a damaged file, and on a fresh
    // connection when this one found the file read-only.
    DbResult readyToWrite(const QString& statement);

    // A statement prepared once for the life of the connection, for the
    // look-ups made at every scan at the counter; nullptr, with the engine's
    // reason in result, when it cannot be prepared.
    QSqlQuery* prepared(const QString& statement, DbResult& result);

private:
    DbResult run(const QString& statement, const QVariantList& values);

    // A connection that found the file read-only stays so, even once the
    // file can be written again; the next statement opens it afresh.
    void reopenIfReadOnly();
    static DbError refusedWrite(const QString& statement);

    QString name_;
    QSqlDatabase db_;
    std::map<QString, std::unique_ptr<QSqlQuery>> prepared_;
    mutable bool foundReadOnly_ = false;
};

// Rolls back unless committed, so that a multi-record write either lands
// whole or not at all.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the transaction could be started; nothing should be written
    // when it could not.
    const DbResult& started() const { return started_; }
    DbResult commit();

private:
    Database& db_;
    DbResult started_;
    bool open_ = false;
};
