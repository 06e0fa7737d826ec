#include "utilities/SqliteFile.h"

#include "data/Schema.h"

#include <sqlite3.h>

namespace {

// The engine's own wait for a busy file backs off to a tenth of a second
// between tries; a writer that commits again and again holds the file most
// of such moments, and a reader would go without for good. Trying every
// millisecond finds the gaps between its commits.
int waitBriefly(void* limitMs, int tries)
{
    if (tries >= *static_cast<int*>(limitMs))
        return 0;
    sqlite3_sleep(1);
    return 1;
}

} // namespace

SqliteFile::~SqliteFile()
{
    close();
}

int SqliteFile::open(const QString& path, bool readOnly, int busyMs)
{
    close();
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (db_) {
        sqlite3_extended_result_codes(db_, 1);
        busyMs_ = busyMs;
        sqlite3_busy_handler(db_, busyMs > 0 ? waitBriefly : nullptr, &busyMs_);
    }
    return rc;
}

void SqliteFile::close()
{
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

int SqliteFile::run(const QString& sql, const QString& bound, QString* first)
{
    if (!db_)
        return SQLITE_MISUSE;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    if (!bound.isNull()) {
        const QByteArray text = bound.toUtf8();
        sqlite3_bind_text(statement, 1, text.constData(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    bool firstRow = true;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (first && firstRow) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            *first = QString::fromUtf8(text ? text : "");
        }
        firstRow = false;
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void SqliteFile::interrupt()
{
    if (db_)
        sqlite3_interrupt(db_);
}

int SqliteFile::code() const
{
    return db_ ? sqlite3_extended_errcode(db_) : SQLITE_CANTOPEN;
}

QString SqliteFile::message() const
{
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("no connection");
}

int SqliteFile::systemError() const
{
    return db_ ? sqlite3_system_errno(db_) : 0;
}

std::optional<QString> SqliteFile::unsoundness()
{
    QString value;
    // The check walks every page and index; a larger cache spares it most
    // of its reads of a file of a few hundred megabytes.
    (void)run(QStringLiteral("PRAGMA cache_size = -65536"));
    auto failed = [this](const char* step) {
        return QStringLiteral("%1: %2").arg(QLatin1String(step), message());
    };
    if (run(QStringLiteral("PRAGMA application_id"), {}, &value) != SQLITE_OK)
        return failed("application_id");
    if (value.toLongLong() != Schema::ApplicationId)
        return QStringLiteral("このシステムのデータベースではありません");
    if (run(QStringLiteral("PRAGMA user_version"), {}, &value) != SQLITE_OK)
        return failed("user_version");
    if (const int version = value.toInt(); version < 1 || version > Schema::version())
        return QStringLiteral("このプログラムの知らない版のデータベースです（版 %1）").arg(version);
    if (run(QStringLiteral("PRAGMA integrity_check"), {}, &value) != SQLITE_OK)
        return failed("integrity_check");
    if (value != QLatin1String("ok"))
        return QStringLiteral("データベースが壊れています（%1）").arg(value);
    // A query without rows leaves the value alone.
    value.clear();
    if (run(QStringLiteral("SELECT CB02 FROM MBMSYS WHERE CB01 = 'workday'"), {}, &value) !=
        SQLITE_OK)
        return failed("MBMSYS");
    if (value.isEmpty())
        return QStringLiteral("パラメタがありません");
    return std::nullopt;
}

std::optional<QString> SqliteFile::unsoundness(const QString& path)
{
    SqliteFile file;
    if (file.open(path, true) != SQLITE_OK)
        return QStringLiteral("ファイルを開けません（%1）").arg(file.message());
    return file.unsoundness();
}
