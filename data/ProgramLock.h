#pragma once

#include <QLockFile>
#include <QString>

// Why a folder refuses to be written: a full disk, a disk or folder that
// may only be read, or the system's error number for anything else.
struct FolderTrouble {
    enum class Kind { None, DiskFull, ReadOnly, Other };
    Kind kind = Kind::None;
    int number = 0;

    // Looked up without writing anything when the system can tell, else by
    // trying to make a file there.
    static FolderTrouble of(const QString& folder);
};

// The lock a running program holds beside the database of its program
// folder: one program per folder, and the restore tool keeps the program
// out while it works. A lock left by a program that is gone does not count.
// Made readable by its owner only, like the database beside it.
class ProgramLock {
public:
    enum class Outcome { Taken, HeldByAnother, CannotWrite };

    explicit ProgramLock(const QString& programFolder);
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    Outcome take();
    // Why the folder refused the lock (CannotWrite).
    const FolderTrouble& trouble() const { return trouble_; }
    // Who holds it (HeldByAnother): the program, its process id and the
    // machine, as the lock file tells them; empty when it cannot be read.
    QString holder() const;

private:
    bool holderGone() const;

    QString folder_;
    QLockFile file_;
    FolderTrouble trouble_;
};
