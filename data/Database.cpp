#include "data/Database.h"

#include "data/DatabaseSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>
#include <cerrno>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {
QString& folderOverride()
{
    static QString path;
    return path;
}

// Files the engine reported damaged while this program ran. Kept by path so
// that every connection to such a file, however opened, stops writing.
QSet<QString>& damagedFiles()
{
    static QSet<QString> files;
    return files;
}

// The engine's own word for the last failure of the connection: its texts
// differ between versions, its codes do not.
DbError::Trouble troubleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.isValid() ? db.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return DbError::Trouble::None;
    sqlite3* engine = *static_cast<sqlite3* const*>(handle.constData());
    if (!engine)
        return DbError::Trouble::None;
    const int code = sqlite3_errcode(engine) & 0xff;
    if (code == SQLITE_FULL)
        return DbError::Trouble::DiskFull;
    if (code == SQLITE_READONLY || code == SQLITE_PERM)
        return DbError::Trouble::ReadOnly;
    if (code != SQLITE_IOERR && code != SQLITE_CANTOPEN)
        return DbError::Trouble::None;
    // A journal that cannot be made or written: the disk behind the file
    // says why.
    const int system = sqlite3_system_errno(engine);
    if (system == ENOSPC || system == EDQUOT)
        return DbError::Trouble::DiskFull;
    const auto refused = [](int number) {
        return number == EROFS || number == EACCES || number == EPERM;
    };
    const QByteArray folder = QFile::encodeName(QFileInfo(db.databaseName()).absolutePath());
    if (refused(system) || (::access(folder.constData(), W_OK) != 0 && refused(errno)))
        return DbError::Trouble::ReadOnly;
    return DbError::Trouble::None;
}

// The server's connection handle, when this is a server connection.
PGconn* serverHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.isValid() ? db.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("muk4-%1").arg(++counter);
}
} // namespace

QString DbError::describe() const
{
    return driverText + QStringLiteral("\n") + statement;
}

bool DbError::damaged() const
{
    return driverText.contains(QLatin1String("malformed")) ||
           driverText.contains(QLatin1String("not a database"));
}

Database::Database() : name_(nextConnectionName()) {}

Database::~Database()
{
    close();
}

QString Database::folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void Database::setFolder(const QString& path)
{
    folderOverride() = path;
}

QString Database::filePath()
{
    return QDir(folder()).filePath(QString::fromLatin1(FileName));
}

QString Database::lockFilePath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QString::fromLatin1(FileName) + QStringLiteral(".lock"));
}

DbResult Database::open()
{
    if (DatabaseSettings::current().onServer())
        return openServer();
    return openFile(filePath());
}

DbResult Database::openServer()
{
    close();
    const DatabaseSettings& settings = DatabaseSettings::current();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    db_.setHostName(settings.host);
    db_.setPort(settings.port);
    db_.setDatabaseName(settings.dbname);
    db_.setUserName(settings.user);
    db_.setConnectOptions(settings.connectOptions());
    server_ = true;
    if (!db_.open()) {
        DbError error{QStringLiteral("connect ") + settings.place() + u'/' + settings.dbname,
                      db_.lastError().text()};
        error.server = DbError::Server::Unreachable;
        return error;
    }
    // A committed sale is on the server's disk before the counter goes on;
    // the texts compare byte by byte, as in the file.
    // A record another connection holds is waited for as briefly as the
    // file's busy time-out, then the write fails and can be tried again.
    return run(QStringLiteral("SET synchronous_commit = on; SET lock_timeout = 1500"), {});
}

QString Database::rowIdColumn() const
{
    return server_ ? QStringLiteral("ctid") : QStringLiteral("rowid");
}

void Database::reconnectIfLost()
{
    if (!server_ || !db_.isValid())
        return;
    PGconn* connection = serverHandle(db_);
    if (db_.isOpen() && (!connection || PQstatus(connection) == CONNECTION_OK))
        return;
    // Whatever the reconnection finds shows in the statement that follows.
    (void)openServer();
}

QString Database::forServer(const QString& statement) const
{
    // The file's REAL is eight bytes, the server's four.
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    if (statement.startsWith(QLatin1String("CREATE TABLE")) ||
        statement.startsWith(QLatin1String("ALTER TABLE"))) {
        QString typed = statement;
        typed.replace(real, QStringLiteral("DOUBLE PRECISION"));
        // Texts order byte by byte, as in the file, whatever the server's
        // language.
        static const QRegularExpression text(QStringLiteral("\\bTEXT\\b"));
        typed.replace(text, QStringLiteral("TEXT COLLATE \"C\""));
        return typed;
    }
    // Each write of a register sees the database as it was when it began,
    // and the server refuses it rather than let it overwrite another's.
    if (statement == QLatin1String("BEGIN IMMEDIATE"))
        return QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ");
    return statement;
}

DbResult Database::layoutVersion(int& version)
{
    version = 0;
    QList<QVariantList> rows;
    if (!server_) {
        if (DbResult r = select(QStringLiteral("PRAGMA user_version"), {}, rows); !r.ok())
            return r;
        version = rows.value(0).value(0).toInt();
        return {};
    }
    if (DbResult r =
            select(QStringLiteral("SELECT to_regclass('muk4_layout') IS NOT NULL"), {}, rows);
        !r.ok())
        return r;
    if (!rows.value(0).value(0).toBool())
        return {};
    if (DbResult r = select(QStringLiteral("SELECT version FROM muk4_layout"), {}, rows); !r.ok())
        return r;
    version = rows.value(0).value(0).toInt();
    return {};
}

DbResult Database::setLayoutVersion(int version)
{
    if (!server_)
        return execute(QStringLiteral("PRAGMA user_version = %1").arg(version));
    // The server has no header to stamp: the program keeps its layout
    // version in a table of its own, which also marks the database as
    // this system's.
    if (DbResult r = execute(QStringLiteral("CREATE TABLE IF NOT EXISTS muk4_layout "
                                            "(version INTEGER NOT NULL)"));
        !r.ok())
        return r;
    if (DbResult r = execute(QStringLiteral("DELETE FROM muk4_layout")); !r.ok())
        return r;
    return execute(QStringLiteral("INSERT INTO muk4_layout (version) VALUES (?)"), {version});
}

DbResult Database::openFile(const QString& path)
{
    close();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(path);
    // A short wait lets a passing lock clear; a file held by another
    // process still fails soon enough for the operator to be told.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db_.open())
        return DbError{QStringLiteral("open ") + path, db_.lastError().text()};
    // A committed sale must survive a power cut. (How this connection
    // writes, not a write: allowed on a damaged file too.)
    return run(QStringLiteral("PRAGMA synchronous = FULL"), {});
}

void Database::close()
{
    prepared_.clear();
    foundReadOnly_ = false;
    server_ = false;
    if (!db_.isValid())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

bool Database::isOpen() const
{
    return db_.isValid() && db_.isOpen();
}

DbError Database::failed(const QString& statement, const QSqlError& error) const
{
    DbError failure = failed(statement, error.text());
    if (server_) {
        // The server's texts follow its language; its codes do not.
        const QString state = error.nativeErrorCode();
        if (state == QLatin1String("40001") || state == QLatin1String("40P01")) {
            failure.server = DbError::Server::Conflict;
            conflict_ = true;
        }
        const PGconn* connection = serverHandle(db_);
        if (!connection || PQstatus(connection) != CONNECTION_OK)
            failure.server = DbError::Server::Unreachable;
    }
    return failure;
}

bool Database::keyTaken(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("2067") || code == QLatin1String("1555") ||
           code == QLatin1String("23505") ||
           error.text().contains(QLatin1String("UNIQUE constraint failed"));
}

DbError Database::failed(const QString& statement, const QString& driverText) const
{
    DbError error{statement, driverText, troubleOf(db_)};
    if (driverText.contains(QLatin1String("attempt to write a readonly database")))
        foundReadOnly_ = true;
    if (error.damaged())
        damagedFiles().insert(QFileInfo(db_.databaseName()).absoluteFilePath());
    return error;
}

bool Database::damaged() const
{
    return !damagedFiles().isEmpty() && db_.isValid() &&
           damagedFiles().contains(QFileInfo(db_.databaseName()).absoluteFilePath());
}

DbError Database::refusedWrite(const QString& statement)
{
    return DbError{statement, QStringLiteral("database disk image is malformed; nothing written")};
}

DbResult Database::execute(const QString& statement, const QVariantList& values)
{
    // A rollback only puts back what the file held before; anything else
    // could spread the damage.
    if (statement == QLatin1String("ROLLBACK"))
        return run(statement, values);
    if (DbResult r = readyToWrite(statement); !r.ok())
        return r;
    return run(statement, values);
}

DbResult Database::readyToWrite(const QString& statement)
{
    if (damaged())
        return Database::refusedWrite(statement);
    reopenIfReadOnly();
    reconnectIfLost();
    return {};
}

void Database::reopenIfReadOnly()
{
    if (!foundReadOnly_ || !isOpen())
        return;
    foundReadOnly_ = false;
    // Whatever the reopening finds shows in the statement that follows.
    (void)openFile(db_.databaseName());
}

DbResult Database::exec(QSqlQuery& query, const QString& statement, const QVariantList& values)
{
    // The server's driver reads a forward-only result row by row and takes
    // no other statement on the connection until it is through; a report
    // looks things up while it steps through its rows, so the server hands
    // each result over whole.
    if (server_)
        query.setForwardOnly(false);
    if (server_ && values.isEmpty()) {
        // The server prepares no transaction control or layout change, and a
        // statement without values gains nothing by being prepared.
        if (!query.exec(forServer(statement)))
            return failed(statement, query.lastError());
        return {};
    }
    if (!query.prepare(server_ ? forServer(statement) : statement))
        return failed(statement, query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return failed(statement, query.lastError());
    return {};
}

DbResult Database::run(const QString& statement, const QVariantList& values)
{
    reconnectIfLost();
    QSqlQuery query(db_);
    return exec(query, statement, values);
}

namespace {
void readRows(QSqlQuery& query, QList<QVariantList>& rows)
{
    const int width = query.record().count();
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < width; ++i)
            row << query.value(i);
        rows << row;
    }
}
} // namespace

DbResult Database::select(const QString& statement, const QVariantList& values,
                          QList<QVariantList>& rows)
{
    rows.clear();
    reconnectIfLost();
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (DbResult r = exec(query, statement, values); !r.ok())
        return r;
    readRows(query, rows);
    if (query.lastError().isValid())
        return failed(statement, query.lastError());
    return {};
}

DbResult Database::selectPrepared(const QString& statement, const QVariantList& values,
                                  QList<QVariantList>& rows)
{
    rows.clear();
    DbResult result;
    QSqlQuery* query = prepared(statement, result);
    if (!query)
        return result;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values[i]);
    if (!query->exec())
        return failed(statement, query->lastError());
    readRows(*query, rows);
    const QSqlError error = query->lastError();
    query->finish();
    if (error.isValid())
        return failed(statement, error);
    return {};
}

QSqlQuery* Database::prepared(const QString& statement, DbResult& result)
{
    result = {};
    reopenIfReadOnly();
    reconnectIfLost();
    auto found = prepared_.find(statement);
    if (found != prepared_.end())
        return found->second.get();
    auto query = std::make_unique<QSqlQuery>(db_);
    query->setForwardOnly(!server_);
    if (!query->prepare(statement)) {
        result = failed(statement, query->lastError());
        return nullptr;
    }
    return prepared_.emplace(statement, std::move(query)).first->second.get();
}

Transaction::Transaction(Database& db) : db_(db)
{
    started_ = db_.execute(QStringLiteral("BEGIN IMMEDIATE"));
    open_ = started_.ok();
}

Transaction::~Transaction()
{
    if (open_)
        (void)db_.execute(QStringLiteral("ROLLBACK"));
}

DbResult Transaction::commit()
{
    if (!open_)
        return started_.ok() ? DbError{QStringLiteral("COMMIT"), QStringLiteral("no transaction")}
                             : started_;
    DbResult result = db_.execute(QStringLiteral("COMMIT"));
    if (result.ok())
        open_ = false;
    return result;
}
