// Times the backup of a database holding one year of a busy register beside
// the raw engine statement and a plain file copy of the same file.
//
//   muk4backupbench [folder]   (default: /tmp/muk4-busyyear; the database is
//                               made there on the first run and kept)

#include "BusyYear.h"
#include "Timed.h"

#include "data/Schema.h"
#include "utilities/BackupCopy.h"
#include "utilities/SqliteFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>

namespace {

double megabytes(qint64 bytes)
{
    return bytes / 1048576.0;
}

void line(const char* what, double seconds, qint64 bytes)
{
    std::printf("%-44s %6.2f s  %7.1f MB/s\n", what, seconds, megabytes(bytes) / seconds);
}

bool shell(const QString& command)
{
    return QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command}) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/muk4-busyyear");
    if (!BusyYear{QDate(2025, 12, 1)}.prepare(folder))
        return 1;
    const QString source = Database::filePath();
    const qint64 size = QFileInfo(source).size();
    std::printf("source %s: %.0f MB\n", qPrintable(source), megabytes(size));

    // The target on the same disk as the source, as the home folder is.
    QTemporaryDir target(QFileInfo(folder).absolutePath() + QStringLiteral("/muk4-backup-XXXXXX"));
    const QString copyPath = QDir(target.path()).filePath(QStringLiteral("plain.db"));
    const QString vacuumPath = QDir(target.path()).filePath(QStringLiteral("vacuum.db"));
    // A first read brings the file into the page cache, so that every run
    // below starts alike.
    shell(QStringLiteral("cat '%1' > /dev/null").arg(source));

    const double cp =
        timed([&] { return shell(QStringLiteral("cp '%1' '%2'").arg(source, copyPath)); });
    QFile::remove(copyPath);
    const double cpSync = timed(
        [&] { return shell(QStringLiteral("cp '%1' '%2' && sync '%2'").arg(source, copyPath)); });
    QFile::remove(copyPath);
    const double vacuum = timed([&] {
        SqliteFile file;
        return file.open(source, true) == 0 &&
               file.run(QStringLiteral("VACUUM INTO ?"), vacuumPath) == 0;
    });
    // The check of the copy, as the backup makes it, beside the engine's
    // quicker check without the index contents.
    auto check = [&](const char* pragma) {
        return timed([&] {
            SqliteFile file;
            QString result;
            return file.open(vacuumPath, true) == 0 &&
                   file.run(QStringLiteral("PRAGMA cache_size = -65536")) == 0 &&
                   file.run(QString::fromLatin1(pragma), {}, &result) == 0 &&
                   result == QLatin1String("ok");
        });
    };
    const double integrity = check("PRAGMA integrity_check");
    const double quick = check("PRAGMA quick_check");
    QFile::remove(vacuumPath);

    // The backup as the screen makes it (a first run, then one over it),
    // with the progress it would show sampled beside it.
    BackupCopy backup(source, target.path(), false);
    std::atomic<double> shownAtCheck{0};
    double first = 0;
    double again = 0;
    for (double* result : {&first, &again}) {
        std::atomic<bool> running{true};
        QThread* sampler = QThread::create([&] {
            while (running) {
                if (backup.phase() == BackupCopy::Phase::Copying && backup.expectedBytes() > 0)
                    shownAtCheck = double(backup.writtenBytes()) / backup.expectedBytes();
                QThread::msleep(50);
            }
        });
        sampler->start();
        *result = timed([&] { return !backup.run().has_value(); });
        running = false;
        sampler->wait();
        delete sampler;
    }
    const qint64 backupSize = QFileInfo(backup.destination()).size();

    line("cp", cp, size);
    line("cp + sync", cpSync, size);
    line("VACUUM INTO (raw statement)", vacuum, size);
    line("PRAGMA integrity_check of the copy", integrity, size);
    line("PRAGMA quick_check of the copy", quick, size);
    line("backup (VACUUM INTO, check, sync, rename)", first, size);
    line("backup over an existing one", again, size);
    std::printf("backup file %.0f MB; the last progress shown while copying: %.0f %% of the "
                "expected size\n",
                megabytes(backupSize), shownAtCheck * 100);
    return 0;
}
