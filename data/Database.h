#pragma once

#include <QSqlDatabase>
#include <QSqlError>
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
    // What went wrong on the server, when it is not the statement itself.
    enum class Server { None, Unreachable, Conflict };

    QString statement;
    QString driverText;
    Trouble trouble = Trouble::None;
    Server server = Server::None;

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

// One screen's connection to the shop's database: the file of the program
// folder, or the server MUK4.ini names. Each screen opens its own on loading
// and closes it on leaving; no connection is shared. What differs between
// the two engines is settled here and in the layout code beside it, never
// by the screens.
class Database {
public:
    static constexpr const char* FileName = "MUK4.db";
    // Held shared by every running program of a server database, for as
    // long as it runs; the restore takes it alone, and so waits for none.
    static constexpr qint64 RunningLockKey = 0x4D554B3452554E53LL; // "MUK4RUNS"

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

    // Opens the shop's database as MUK4.ini says: the file by default.
    DbResult open();
    // Opens another file than the program folder's database (used while the
    // database file is first made).
    DbResult openFile(const QString& path);
    void close();
    bool isOpen() const;
    // Whether this connection is to a server; the layout code and the
    // backup ask, the screens never do.
    bool onServer() const { return server_; }
    // The column that names a row for as long as it is not changed
    // ("rowid" in the file; on a server the tuple, which an update moves).
    QString rowIdColumn() const;

    DbResult execute(const QString& statement, const QVariantList& values = {});
    // Runs a query the program wrote itself and hands back every row.
    DbResult select(const QString& statement, const QVariantList& values,
                    QList<QVariantList>& rows);
    // The same for a query made again and again on the connection (the
    // menu's totals): prepared once, so that the server plans it once.
    DbResult selectPrepared(const QString& statement, const QVariantList& values,
                            QList<QVariantList>& rows);
    // The connection itself, for queries the caller steps through; a
    // server connection that was cut is opened again first.
    QSqlDatabase handle()
    {
        reconnectIfLost();
        return db_;
    }

    // The error of a failed statement on this connection. A damaged file is
    // remembered: from then on nothing more is written to it by any
    // connection of the program.
    DbError failed(const QString& statement, const QString& driverText) const;
    DbError failed(const QString& statement, const QSqlError& error) const;
    // Whether the engine refused a record because its key is taken.
    static bool keyTaken(const QSqlError& error);
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

    // The layout version the database is stamped with: the file's
    // user_version, on a server a table of the program's own. 0 when the
    // database has none (empty, or not this system's).
    DbResult layoutVersion(int& version);
    DbResult setLayoutVersion(int version);

private:
    friend class Transaction;
    DbResult run(const QString& statement, const QVariantList& values);
    DbResult openServer();
    // A server connection that was cut is opened afresh before the next
    // statement; what was prepared on it went with it.
    void reconnectIfLost();
    // The statement as the server takes it (column types, the start of a
    // transaction); the file takes every statement as written.
    QString forServer(const QString& statement) const;

    // A connection that found the file read-only stays so, even once the
    // file can be written again; the next statement opens it afresh.
    void reopenIfReadOnly();
    static DbError refusedWrite(const QString& statement);

    QString name_;
    QSqlDatabase db_;
    std::map<QString, std::unique_ptr<QSqlQuery>> prepared_;
    mutable bool foundReadOnly_ = false;
    bool server_ = false;
    // The last failure was the server giving up on a transaction in favour
    // of another register's (serialization failure, deadlock).
    mutable bool conflict_ = false;
};

// Rolls back unless committed, so that a multi-record write either lands
// whole or not at all.
class Transaction {
public:
    // How often a write the server gave up on for another register's is
    // tried in all.
    static constexpr int Attempts = 5;

    // Runs `write`, which opens its own Transaction, and runs it again when
    // the server rolled it back in favour of another register's transaction;
    // only the last attempt's outcome reaches the operator. On the file a
    // write is never given up on like that, so it runs once.
    template <class Write> static auto retried(Database& db, Write write) -> decltype(write())
    {
        for (int attempt = 1;; ++attempt) {
            db.conflict_ = false;
            auto outcome = write();
            if (!db.conflict_ || attempt == Attempts)
                return outcome;
        }
    }

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
