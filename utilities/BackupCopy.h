#pragma once

#include <QString>

#include <atomic>
#include <memory>
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

// A backup of the shop's database into a backup folder, whichever engine
// holds it. Each kind writes its copy under a temporary name beside the
// backup, checks it, syncs it and only then renames it over the previous
// backup, so that a failed or interrupted backup leaves the previous one as
// it was. The database itself is only read.
class Backup {
public:
    enum class Phase { Starting, Copying, Checking, Done };

    virtual ~Backup() = default;

    // The backup of the current program folder's database into `folder`,
    // made first when `makeFolder`.
    static std::unique_ptr<Backup> forProgram(const QString& folder, bool makeFolder);
    // Removes what a backup of any kind killed half-way left in the folder.
    static void removeAllLeftovers(const QString& folder);

    // The name of the backup file in the folder.
    virtual QString name() const = 0;
    QString destination() const;
    bool destinationExists() const;

    // Makes the backup; blocks until it is done and may run in a worker
    // thread. A failed backup leaves no partial file behind.
    std::optional<BackupFailure> run();
    // From any thread: stops a running backup, which then removes its
    // partial file and ends as cancelled.
    virtual void cancel() = 0;

    Phase phase() const { return phase_; }
    // The size the backup is expected to reach (0 while not known) and the
    // bytes written so far.
    qint64 expectedBytes() const { return expected_; }
    qint64 writtenBytes() const;

protected:
    explicit Backup(QString folder) : folder_(std::move(folder)) {}

    // The name a backup has in the folder until it is complete.
    static QString partialIn(const QString& folder, const QString& name);
    QString partial() const;
    virtual std::optional<BackupFailure> make() = 0;
    virtual void removePartial() const = 0;

    QString folder_;
    std::atomic<Phase> phase_{Phase::Starting};
    std::atomic<qint64> expected_{0};
};

// A compacted copy of the database file. The copy is one consistent state
// of the file even while another process writes to it.
class BackupCopy : public Backup {
public:
    // How long a database file held by another process is waited for before
    // the backup gives up and says so.
    static constexpr int BusyWaitMs = 5000;

    BackupCopy(QString source, QString folder, bool makeFolder);
    ~BackupCopy() override;
    BackupCopy(const BackupCopy&) = delete;
    BackupCopy& operator=(const BackupCopy&) = delete;

    static QString fileName();
    QString name() const override { return fileName(); }

    // Removes what a copy killed half-way left in the folder.
    static void removeLeftovers(const QString& folder);

    void cancel() override;

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

    std::optional<BackupFailure> make() override;
    void removePartial() const override { removeLeftovers(folder_); }
    std::optional<BackupFailure> compact();
    std::optional<BackupFailure> check();
    std::optional<BackupFailure> engineFailure(const SqliteFile& file, const char* step) const;
    // A statement can only be interrupted while it runs, so the steps
    // between statements look for a cancel themselves.
    void watch(SqliteFile* file);
    bool cancelled();
    BackupFailure cancelledFailure() const;

    QString source_;
    bool makeFolder_;
    std::mutex watched_;
    SqliteFile* running_ = nullptr;
    bool cancelled_ = false;
};
