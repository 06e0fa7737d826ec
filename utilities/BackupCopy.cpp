#include "utilities/BackupCopy.h"

#include "data/Database.h"
#include "data/DatabaseSettings.h"
#include "utilities/SafeFile.h"
#include "utilities/ServerBackup.h"
#include "utilities/SqliteFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <sqlite3.h>

namespace {

BackupFailure fromFile(const FileError& error)
{
    return BackupFailure{error.denied() ? BackupFailure::Kind::Denied : BackupFailure::Kind::Other,
                         error.number, error.text(), error.describe()};
}

const QString journal = QStringLiteral("-journal");

} // namespace

QString Backup::destination() const
{
    return QDir(folder_).filePath(name());
}

bool Backup::destinationExists() const
{
    return QFileInfo::exists(destination());
}

std::unique_ptr<Backup> Backup::forProgram(const QString& folder, bool makeFolder)
{
    const DatabaseSettings& settings = DatabaseSettings::current();
    if (settings.onServer())
        return std::make_unique<ServerBackup>(settings, folder, makeFolder);
    return std::make_unique<BackupCopy>(Database::filePath(), folder, makeFolder);
}

void Backup::removeAllLeftovers(const QString& folder)
{
    BackupCopy::removeLeftovers(folder);
    ServerBackup::removeLeftovers(folder);
}

QString Backup::partialIn(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name + QStringLiteral(".partial"));
}

QString Backup::partial() const
{
    return partialIn(folder_, name());
}

qint64 Backup::writtenBytes() const
{
    return QFileInfo(partial()).size();
}

std::optional<BackupFailure> Backup::run()
{
    std::optional<BackupFailure> failure = make();
    if (failure)
        removePartial();
    phase_ = Phase::Done;
    return failure;
}

BackupCopy::BackupCopy(QString source, QString folder, bool makeFolder)
    : Backup(std::move(folder)), source_(std::move(source)), makeFolder_(makeFolder)
{
}

BackupCopy::~BackupCopy() = default;

QString BackupCopy::fileName()
{
    return QString::fromLatin1(Database::FileName);
}

void BackupCopy::removeLeftovers(const QString& folder)
{
    const QString partial = partialIn(folder, fileName());
    (void)SafeFile::remove(partial);
    (void)SafeFile::remove(partial + journal);
}

void BackupCopy::cancel()
{
    std::lock_guard lock(watched_);
    cancelled_ = true;
    if (running_)
        running_->interrupt();
}

bool BackupCopy::cancelled()
{
    std::lock_guard lock(watched_);
    return cancelled_;
}

BackupFailure BackupCopy::cancelledFailure() const
{
    return BackupFailure{BackupFailure::Kind::Cancelled, 0, QStringLiteral("cancelled"), partial()};
}

void BackupCopy::watch(SqliteFile* file)
{
    std::lock_guard lock(watched_);
    running_ = file;
    if (running_ && cancelled_)
        running_->interrupt();
}

std::optional<BackupFailure> BackupCopy::engineFailure(const SqliteFile& file,
                                                       const char* step) const
{
    const int code = file.code();
    const int primary = code & 0xff;
    const int system = file.systemError();
    BackupFailure failure{BackupFailure::Kind::Other, code, file.message(),
                          QStringLiteral("%1 %2 -> %3 (system error %4)")
                              .arg(QLatin1String(step), source_, partial())
                              .arg(system)};
    if (primary == SQLITE_INTERRUPT)
        failure.kind = BackupFailure::Kind::Cancelled;
    else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        failure.kind = BackupFailure::Kind::InUse;
    else if (primary == SQLITE_READONLY || primary == SQLITE_PERM || primary == SQLITE_AUTH ||
             FileError{{}, {}, system}.denied())
        failure.kind = BackupFailure::Kind::Denied;
    return failure;
}

std::optional<BackupFailure> BackupCopy::make()
{
    if (makeFolder_) {
        if (SafeFile::Result error = SafeFile::makeFolder(folder_))
            return fromFile(*error);
    }
    // The engine may turn a reader away during another process's commit
    // without waiting, as it does where waiting could dead-lock; such a
    // refusal is tried again until the wait for a busy file is over.
    const QDeadlineTimer patience(BusyWaitMs);
    for (;;) {
        std::optional<BackupFailure> failure = compact();
        if (!failure)
            break;
        if (failure->kind != BackupFailure::Kind::InUse || patience.hasExpired() || cancelled())
            return failure;
        QThread::msleep(1);
    }
    if (std::optional<BackupFailure> unsound = check())
        return unsound;
    if (cancelled())
        return cancelledFailure();
    if (SafeFile::Result error = SafeFile::sync(partial()))
        return fromFile(*error);
    if (SafeFile::Result error = SafeFile::replace(partial(), destination()))
        return fromFile(*error);
    return std::nullopt;
}

std::optional<BackupFailure> BackupCopy::compact()
{
    // The engine writes its compacted copy only into a file that is new or
    // empty; making it here tells a folder that refuses writing apart from
    // any other failure.
    removeLeftovers(folder_);
    if (SafeFile::Result error = SafeFile::createEmpty(partial()))
        return fromFile(*error);

    SqliteFile source;
    if (source.open(source_, true, BusyWaitMs) != SQLITE_OK)
        return engineFailure(source, "open");
    const Watch watching(*this, source);
    QString pages, unused, pageSize;
    if (source.run(QStringLiteral("PRAGMA page_count"), {}, &pages) != SQLITE_OK ||
        source.run(QStringLiteral("PRAGMA freelist_count"), {}, &unused) != SQLITE_OK ||
        source.run(QStringLiteral("PRAGMA page_size"), {}, &pageSize) != SQLITE_OK)
        return engineFailure(source, "read");
    expected_ = (pages.toLongLong() - unused.toLongLong()) * pageSize.toLongLong();
    if (cancelled())
        return cancelledFailure();
    phase_ = Phase::Copying;
    // One statement reads the whole file in one read transaction, so the
    // copy is one consistent state of it even while another process writes.
    if (source.run(QStringLiteral("VACUUM INTO ?"), partial()) != SQLITE_OK)
        return engineFailure(source, "VACUUM INTO");
    if (cancelled())
        return cancelledFailure();
    return std::nullopt;
}

std::optional<BackupFailure> BackupCopy::check()
{
    phase_ = Phase::Checking;
    SqliteFile copy;
    if (copy.open(partial(), true) != SQLITE_OK)
        return engineFailure(copy, "open copy");
    const Watch watching(*this, copy);
    if (std::optional<QString> unsound = copy.unsoundness()) {
        if ((copy.code() & 0xff) == SQLITE_INTERRUPT)
            return engineFailure(copy, "check");
        return BackupFailure{BackupFailure::Kind::Other, 0, *unsound,
                             QStringLiteral("check ") + partial()};
    }
    return std::nullopt;
}
