#include "data/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>
#include <cerrno>
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
    return openFile(filePath());
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
    if (!query.prepare(statement))
        return failed(statement, query.lastError().text());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return failed(statement, query.lastError().text());
    return {};
}

DbResult Database::run(const QString& statement, const QVariantList& values)
{
    QSqlQuery query(db_);
    return exec(query, statement, values);
}

DbResult Database::select(const QString& statement, const QVariantList& values,
                          QList<QVariantList>& rows)
{
    rows.clear();
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (DbResult r = exec(query, statement, values); !r.ok())
        return r;
    const int width = query.record().count();
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < width; ++i)
            row << query.value(i);
        rows << row;
    }
    if (query.lastError().isValid())
        return failed(statement, query.lastError().text());
    return {};
}

QSqlQuery* Database::prepared(const QString& statement, DbResult& result)
{
    result = {};
    reopenIfReadOnly();
    auto found = prepared_.find(statement);
    if (found != prepared_.end())
        return found->second.get();
    auto query = std::make_unique<QSqlQuery>(db_);
    query->setForwardOnly(true);
    if (!query->prepare(statement)) {
        result = failed(statement, query->lastError().text());
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
