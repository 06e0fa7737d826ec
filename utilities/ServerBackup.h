#pragma once

#include "data/DatabaseSettings.h"
#include "utilities/BackupCopy.h"
#include "utilities/Restore.h"

#include <QStringList>

#include <atomic>
#include <functional>

// A backup of the shop's database on a PostgreSQL server: the server's own
// dump tool writes a consistent snapshot of the database in its compressed
// archive form, which its restore tool can read back into any server.
class ServerBackup : public Backup {
public:
    ServerBackup(DatabaseSettings settings, QString folder, bool makeFolder);
    ServerBackup(const ServerBackup&) = delete;
    ServerBackup& operator=(const ServerBackup&) = delete;

    static QString fileName();
    QString name() const override { return fileName(); }
    static void removeLeftovers(const QString& folder);

    void cancel() override { cancelled_ = true; }

    // Whether the file is an archive of the server's dump tool.
    static bool isDump(const QString& path);
    // Puts the archive back as the database the settings name, in one
    // transaction, unless a program of that database is running.
    static Restore::Outcome restore(const QString& dump, const DatabaseSettings& settings,
                                    const std::function<void(const QString&)>& tell);

private:
    std::optional<BackupFailure> make() override;
    void removePartial() const override { removeLeftovers(folder_); }

    DatabaseSettings settings_;
    bool makeFolder_;
    std::atomic<bool> cancelled_{false};
};
