#pragma once

#include <QString>

#include <functional>

// Puts a backup back as the database of a program folder. A file backup is
// copied beside the database under a temporary name, checked and synced;
// the current database is kept as MUK4.db.before-restore; then the copy is
// renamed into place. A server dump is restored into the database MUK4.ini
// names, in one transaction. Nothing is changed while a program runs on that
// database, nor when the backup is not a sound database of this system.
namespace Restore {

// The name the replaced database is kept under, beside it.
QString keptName();

struct Outcome {
    bool done = false;
    QString text; // what happened, or why nothing did
};

// `step` hears of each step as it begins; a few hundred megabytes take a
// while.
Outcome run(const QString& backup, const QString& folder,
            const std::function<void(const QString&)>& step = {});

} // namespace Restore
