#include "utilities/ServerBackup.h"

#include "data/Database.h"
#include "utilities/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// What a run of one of the server's client tools came to.
struct ToolRun {
    bool ok = false;
    bool stopped = false;
    QString command;
    QString out;
    QString err;

    // The command and what the tool said, for whoever looks into a failure.
    QString describe() const { return command + u'\n' + err.trimmed(); }
};

// The tools ask for no password: the server's password file or peer
// authentication stands in for it, and a prompt would hang the program.
QStringList serverArguments(const DatabaseSettings& settings)
{
    return {QStringLiteral("--host"),       settings.host,
            QStringLiteral("--port"),       QString::number(settings.port),
            QStringLiteral("--username"),   settings.user,
            QStringLiteral("--dbname"),     settings.dbname,
            QStringLiteral("--no-password")};
}

ToolRun runTool(const QString& program, const QStringList& arguments,
                const DatabaseSettings& settings, const std::function<bool()>& stop = {})
{
    ToolRun run;
    run.command = program + u' ' + arguments.join(u' ');
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!settings.sslmode.isEmpty())
        environment.insert(QStringLiteral("PGSSLMODE"), settings.sslmode);
    // A server that does not answer is reported within seconds.
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("5"));
    environment.insert(QStringLiteral("PGAPPNAME"), QStringLiteral("MUK4"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        run.err = process.errorString();
        return run;
    }
    while (!process.waitForFinished(100) && process.state() != QProcess::NotRunning) {
        if (stop && stop()) {
            process.kill();
            process.waitForFinished(-1);
            run.stopped = true;
            break;
        }
    }
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    run.ok =
        !run.stopped && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return run;
}

BackupFailure fromFile(const FileError& error)
{
    return BackupFailure{error.denied() ? BackupFailure::Kind::Denied : BackupFailure::Kind::Other,
                         error.number, error.text(), error.describe()};
}

// Only an archive of this system's database holds its layout stamp.
bool holdsLayout(const ToolRun& list)
{
    return list.ok && list.out.contains(QLatin1String(" muk4_layout "));
}

} // namespace

ServerBackup::ServerBackup(DatabaseSettings settings, QString folder, bool makeFolder)
    : Backup(std::move(folder)), settings_(std::move(settings)), makeFolder_(makeFolder)
{
}

QString ServerBackup::fileName()
{
    return QStringLiteral("MUK4.dump");
}

void ServerBackup::removeLeftovers(const QString& folder)
{
    (void)SafeFile::remove(partialIn(folder, fileName()));
}

bool ServerBackup::isDump(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "PGDMP";
}

std::optional<BackupFailure> ServerBackup::make()
{
    if (makeFolder_) {
        if (SafeFile::Result error = SafeFile::makeFolder(folder_))
            return fromFile(*error);
    }
    // Made here, for its owner only, so that the dump tool writes into a
    // file nobody else may read, and a folder that refuses writing is told
    // apart from a failing server.
    removeLeftovers(folder_);
    if (SafeFile::Result error = SafeFile::createEmpty(partial()))
        return fromFile(*error);
    const BackupFailure cancelled{BackupFailure::Kind::Cancelled, 0, QStringLiteral("cancelled"),
                                  partial()};
    if (cancelled_)
        return cancelled;

    phase_ = Phase::Copying;
    const ToolRun dumped = runTool(
        QStringLiteral("pg_dump"),
        QStringList{QStringLiteral("--format=custom"), QStringLiteral("--file"), partial()} +
            serverArguments(settings_),
        settings_, [this] { return cancelled_.load(); });
    if (dumped.stopped)
        return cancelled;
    if (!dumped.ok)
        return BackupFailure{
            BackupFailure::Kind::Other, 0,
            QStringLiteral("データベース サーバーのバックアップを作成できませんでした。"),
            dumped.describe()};

    phase_ = Phase::Checking;
    const ToolRun listed =
        runTool(QStringLiteral("pg_restore"), {QStringLiteral("--list"), partial()}, settings_,
                [this] { return cancelled_.load(); });
    if (listed.stopped)
        return cancelled;
    if (!holdsLayout(listed))
        return BackupFailure{BackupFailure::Kind::Other, 0,
                             QStringLiteral("作成したバックアップを読み取れませんでした。"),
                             listed.describe()};
    if (SafeFile::Result error = SafeFile::sync(partial()))
        return fromFile(*error);
    if (SafeFile::Result error = SafeFile::replace(partial(), destination()))
        return fromFile(*error);
    return std::nullopt;
}

Restore::Outcome ServerBackup::restore(const QString& dump, const DatabaseSettings& settings,
                                       const std::function<void(const QString&)>& tell)
{
    const QString where = settings.place() + u'/' + settings.dbname;
    tell(QStringLiteral("バックアップを確認しています"));
    const ToolRun listed =
        runTool(QStringLiteral("pg_restore"), {QStringLiteral("--list"), dump}, settings);
    if (!holdsLayout(listed))
        return {
            false,
            QStringLiteral("バックアップを使用できません: %1\n%2").arg(dump, listed.err.trimmed())};

    const QString connection = QStringLiteral("muk4-restore");
    Restore::Outcome outcome;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setDatabaseName(settings.dbname);
        db.setUserName(settings.user);
        db.setConnectOptions(settings.connectOptions());
        // Every running program holds the lock shared on a connection of its
        // own; holding it alone until the end keeps programs from starting on
        // a database half restored.
        const bool opened = db.open();
        QSqlQuery query(db);
        if (!opened || !query.prepare(QStringLiteral("SELECT pg_try_advisory_lock(?)")) ||
            (query.addBindValue(Database::RunningLockKey), !query.exec()) || !query.next()) {
            outcome.text =
                QStringLiteral("データベース サーバーに接続できません（%1）。\n%2")
                    .arg(where, opened ? query.lastError().text() : db.lastError().text());
        } else if (!query.value(0).toBool()) {
            outcome.text =
                QStringLiteral("プログラムが実行中です（%1）。終了してから復元してください。")
                    .arg(where);
        } else {
            tell(QStringLiteral("データベースを復元しています: %1").arg(where));
            // One transaction: a restore that fails half-way leaves the
            // database as it was. Owners and rights are the target server's.
            const ToolRun restored =
                runTool(QStringLiteral("pg_restore"),
                        QStringList{QStringLiteral("--single-transaction"),
                                    QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                                    QStringLiteral("--no-owner"), QStringLiteral("--no-acl")} +
                            serverArguments(settings) + QStringList{dump},
                        settings);
            outcome.done = restored.ok;
            outcome.text =
                restored.ok ? QStringLiteral("%1 を %2 に復元しました。").arg(dump, where)
                            : QStringLiteral(
                                  "データベースを復元できません。データベースは元のままです。\n%1")
                                  .arg(restored.describe());
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return outcome;
}
