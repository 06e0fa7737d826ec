#pragma once

#include <QString>

#include <atomic>
#include <mutex>
#include <optional>

class SqliteFile;

// Why a backup was not made.
struct BackupFailure {
    enum class Kind {
        Denied,    // the target refuses to be written
        InUse,     // another program holds the database file
        Cancelled, // stopped on purpose
        Other,
    };
    Kind kind = Kind::Other;
    int number = 0;  // the system's or the engine's error number
    QString text;    // its description
    QString details; // the step and the path, for whoever looks into it
};

// A compacted copy of the database file into a backup folder. The copy is
// written under a temporary name beside the backup, checked, synced and only
// then renamed over the previous backup, so that a failed or interrupted
// copy leaves the previous backup as it was. The database file itself is
// only read.
class BackupCopy {
public:
    enum class Phase { Starting, Copying, Checking, Done };

    // How long a database file held by another process is waited for before
    // the backup gives up and says so.
    static constexpr int BusyWaitMs = 5000;

    BackupCopy(QString source, QString folder, bool makeFolder);
    ~BackupCopy();
    BackupCopy(const BackupCopy&) = delete;
    BackupCopy& operator=(const BackupCopy&) = delete;

    static QString fileName();
    // The name the copy has until it is complete.
    static QString partialName();
    QString destination() const;
    QString partial() const;
    bool destinationExists() const;

    // Removes what a copy killed half-way left in the folder.
    static void removeLeftovers(const QString& folder);

    // Makes the copy; blocks until it is done and may run in a worker thread.
    std::optional<BackupFailure> run();
    // From any thread: stops a running copy, which then removes its partial
    // file and ends as cancelled.
    void cancel();

    Phase phase() const { return phase_; }
    // The size the copy is expected to reach, known once the copy started,
    // and the bytes written so far.
    qint64 expectedBytes() const { return expected_; }
    qint64 writtenBytes() const;

private:
    // Points cancel() at the engine connection at work for as long as it
    // lives.
    class Watch {
    public:
        Watch(BackupCopy& copy, SqliteFile& file) : copy_(copy) { copy_.watch(&file); }
        ~Watch() { copy_.watch(nullptr); }
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        BackupCopy& copy_;
    };

    std::optional<BackupFailure> copy();
    std::optional<BackupFailure> compact();
    std::optional<BackupFailure> check();
    std::optional<BackupFailure> engineFailure(const SqliteFile& file, const char* step) const;
    // A statement can only be interrupted while it runs, so the steps
    // between statements look for a cancel themselves.
    void watch(SqliteFile* file);
    bool cancelled();
    BackupFailure cancelledFailure() const;

    QString source_;
    QString folder_;
    bool makeFolder_;
    std::atomic<Phase> phase_{Phase::Starting};
    std::atomic<qint64> expected_{0};
    std::mutex watched_;
    SqliteFile* running_ = nullptr;
    bool cancelled_ = false;
};
