#pragma once

#include <QString>

#include <functional>
#include <optional>

// A file operation the system refused: what was being done, to which path,
// and the system's error number.
struct FileError {
    QString action;
    QString path;
    int number = 0;

    // The system's own words for the number.
    QString text() const;
    // "rename /home/shop/BKUP/MUK4.db: Permission denied (13)"
    QString describe() const;
    // The folder or medium refuses to be written: missing rights, a
    // read-only mount or a write-protected medium.
    bool denied() const;
};

// File steps that either complete on the disk or report why not. A file
// that has to survive a power cut is written under a temporary name, synced,
// and only then renamed over the old one; the rename is synced through its
// folder.
namespace SafeFile {

using Result = std::optional<FileError>;

// Hears of each step that puts a file on the disk for good: "fsync" once a
// file's data is synced, "rename" just before a file takes its final name.
// For whoever has to see the order of the two; one observer at a time.
using Observer = std::function<void(const QString& step, const QString& path)>;
void observe(Observer watching);

// Makes the folder and any missing parent, for their owner only; folders
// that exist stay as they are.
Result makeFolder(const QString& path);
// Creates a new empty file readable by its owner only; fails when the name
// is already taken.
Result createEmpty(const QString& path);
// Removes a file; a file that is not there is no failure.
Result remove(const QString& path);
// Writes the file's data and size to the disk.
Result sync(const QString& path);
Result syncFolder(const QString& path);
// Copies the bytes of a file to a new file, readable by its owner only,
// and syncs it.
Result copy(const QString& from, const QString& to);
// Renames a complete, synced file over the target in one step, then syncs
// the folder so that the new name survives a power cut.
Result replace(const QString& from, const QString& to);

} // namespace SafeFile
