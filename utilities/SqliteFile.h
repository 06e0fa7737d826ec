#pragma once

#include <QString>

#include <optional>

struct sqlite3;

// A connection of the engine itself to a whole database file, for the work
// the screens' connections cannot do: a compacted copy that can be
// interrupted, and the checks of a copy before it takes the place of
// another. It lives in one thread; only interrupt() may come from another.
class SqliteFile {
public:
    SqliteFile() = default;
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    // The engine's result code; a busy file is waited for up to busyMs.
    int open(const QString& path, bool readOnly, int busyMs = 0);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Runs a statement, binding `bound` (when given) to its one parameter,
    // and keeps the first column of the first row in `first`. Returns the
    // engine's result code: 0 when it ran to its end.
    int run(const QString& sql, const QString& bound = {}, QString* first = nullptr);
    // Stops the running statement at its next step; it ends with the
    // interrupt code.
    void interrupt();

    // The failure of the last step: the engine's extended code, its text and
    // the system's error number behind it (0 when there was none).
    int code() const;
    QString message() const;
    int systemError() const;

    // Why the open file is not a sound database of this system that this
    // program can use; nothing when it is: the engine finds no fault in it,
    // it carries the system's mark and a layout version this program
    // knows, and the parameter table can be read.
    std::optional<QString> unsoundness();
    // The same for a file that is not open yet; it is opened read-only.
    static std::optional<QString> unsoundness(const QString& path);

private:
    sqlite3* db_ = nullptr;
    int busyMs_ = 0;
};
