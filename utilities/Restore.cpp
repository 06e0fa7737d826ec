#include "utilities/Restore.h"

#include "data/Database.h"
#include "data/DatabaseSettings.h"
#include "data/ProgramLock.h"
#include "utilities/SafeFile.h"
#include "utilities/ServerBackup.h"
#include "utilities/SqliteFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The engine's companions of a database file: a journal left by a write
// that was cut off belongs to that file and to no other.
const QStringList companions{QStringLiteral("-journal"), QStringLiteral("-wal")};

Restore::Outcome refused(const QString& text)
{
    return Restore::Outcome{false, text};
}

// A write cut off by a crash leaves a journal beside the file; opening the
// file once puts it back into its last committed state, so that the copy
// kept of it is whole.
void settle(const QString& database)
{
    bool pending = false;
    for (const QString& suffix : companions)
        pending = pending || QFileInfo::exists(database + suffix);
    if (!pending)
        return;
    SqliteFile file;
    if (file.open(database, false) == 0)
        (void)file.run(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

// Keeps the current database as it is under the kept name, with any journal
// that could not be played back, so that it can itself be restored.
SafeFile::Result keep(const QString& database, const QString& kept)
{
    for (const QString& suffix : companions) {
        if (SafeFile::Result error = SafeFile::remove(kept + suffix))
            return error;
    }
    const QString partial = kept + QStringLiteral(".partial");
    (void)SafeFile::remove(partial);
    if (SafeFile::Result error = SafeFile::copy(database, partial)) {
        (void)SafeFile::remove(partial);
        return error;
    }
    // A whole copy of the shop's data is not left lying about under a name
    // nobody looks for.
    if (SafeFile::Result error = SafeFile::replace(partial, kept)) {
        (void)SafeFile::remove(partial);
        return error;
    }
    for (const QString& suffix : companions) {
        if (!QFileInfo::exists(database + suffix))
            continue;
        if (SafeFile::Result error = SafeFile::replace(database + suffix, kept + suffix))
            return error;
    }
    return SafeFile::remove(database + QStringLiteral("-shm"));
}

} // namespace

namespace Restore {

QString keptName()
{
    return QString::fromLatin1(Database::FileName) + QStringLiteral(".before-restore");
}

Outcome run(const QString& backup, const QString& folder,
            const std::function<void(const QString&)>& step)
{
    auto tell = [&step](const QString& text) {
        if (step)
            step(text);
    };
    if (!QFileInfo(folder).isDir())
        return refused(QStringLiteral("プログラムフォルダがありません: %1").arg(folder));
    if (!QFileInfo(backup).isFile())
        return refused(QStringLiteral("バックアップファイルがありません: %1").arg(backup));

    // A backup goes back only to the kind of database it was made of.
    DatabaseSettings settings;
    if (const std::optional<QString> wrong = DatabaseSettings::read(folder, settings))
        return refused(QStringLiteral("%1 が正しくありません: %2")
                           .arg(QString::fromLatin1(DatabaseSettings::FileName), *wrong));
    if (ServerBackup::isDump(backup)) {
        if (!settings.onServer())
            return refused(QStringLiteral("データベース サーバーのバックアップです。%1 の %2 "
                                          "はサーバーを指していません。")
                               .arg(folder, QString::fromLatin1(DatabaseSettings::FileName)));
        return ServerBackup::restore(backup, settings, tell);
    }
    if (settings.onServer())
        return refused(QStringLiteral("%1 はデータベース サーバーを使用しています。"
                                      "データベースファイルのバックアップは復元できません。")
                           .arg(folder));

    // Held until the end, so that the program cannot start on a half-made
    // restore either. A lock whose program has died is taken over.
    ProgramLock lock(folder);
    switch (lock.take()) {
    case ProgramLock::Outcome::Taken:
        break;
    case ProgramLock::Outcome::HeldByAnother:
        return refused(QStringLiteral("プログラムが実行中です%1。終了してから復元してください。")
                           .arg(lock.holder()));
    case ProgramLock::Outcome::CannotWrite:
        return refused(QStringLiteral("プログラムフォルダに書き込めません: %1 (%2)")
                           .arg(folder, FileError{{}, {}, lock.trouble().number}.text()));
    }

    const QDir dir(folder);
    const QString database = dir.filePath(QString::fromLatin1(Database::FileName));
    const QString incoming = database + QStringLiteral(".restoring");
    (void)SafeFile::remove(incoming);
    tell(QStringLiteral("バックアップをコピーしています: %1").arg(backup));
    if (SafeFile::Result error = SafeFile::copy(backup, incoming)) {
        (void)SafeFile::remove(incoming);
        return refused(QStringLiteral("バックアップをコピーできません: %1").arg(error->describe()));
    }
    // The copy is what goes into place, so the copy is what is checked.
    tell(QStringLiteral("バックアップを確認しています"));
    if (const std::optional<QString> unsound = SqliteFile::unsoundness(incoming)) {
        (void)SafeFile::remove(incoming);
        return refused(
            QStringLiteral("バックアップを使用できません: %1\n%2").arg(backup, *unsound));
    }

    const QString kept = dir.filePath(keptName());
    const bool replacing = QFileInfo::exists(database);
    if (replacing) {
        tell(QStringLiteral("現在のデータベースを残しています: %1").arg(kept));
        settle(database);
        if (SafeFile::Result error = keep(database, kept)) {
            (void)SafeFile::remove(incoming);
            return refused(
                QStringLiteral("現在のデータベースを残せません: %1").arg(error->describe()));
        }
    }
    if (SafeFile::Result error = SafeFile::replace(incoming, database)) {
        (void)SafeFile::remove(incoming);
        return refused(
            QStringLiteral("データベースを置き換えられません: %1").arg(error->describe()));
    }
    QString text = QStringLiteral("%1 を %2 に復元しました。").arg(backup, database);
    if (replacing)
        text += QStringLiteral("\n元のデータベースは %1 に残しました。").arg(kept);
    return Outcome{true, text};
}

} // namespace Restore
