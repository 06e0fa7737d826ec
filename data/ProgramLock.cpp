#include "data/ProgramLock.h"

#include "data/Database.h"

#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

FolderTrouble FolderTrouble::of(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct statvfs disk {};
    if (::statvfs(path.constData(), &disk) == 0) {
        if (disk.f_flag & ST_RDONLY)
            return {Kind::ReadOnly, EROFS};
        if (disk.f_bavail == 0)
            return {Kind::DiskFull, ENOSPC};
    }
    if (::access(path.constData(), W_OK) != 0)
        return {errno == EROFS || errno == EACCES || errno == EPERM ? Kind::ReadOnly : Kind::Other,
                errno};
    // Neither full nor read-only by the system's account (a quota, a failing
    // disk): a file made there tells.
    const QByteArray probe = path + "/.muk4-probe";
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    int number = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (::write(fd, "x", 1) != 1 || ::fsync(fd) != 0)
            number = errno;
        ::close(fd);
        ::unlink(probe.constData());
    }
    if (number == ENOSPC || number == EDQUOT)
        return {Kind::DiskFull, number};
    if (number == EROFS || number == EACCES || number == EPERM)
        return {Kind::ReadOnly, number};
    return {number ? Kind::Other : Kind::None, number};
}

ProgramLock::ProgramLock(const QString& programFolder)
    : folder_(programFolder), file_(Database::lockFilePath(programFolder))
{
    // Never stale by age, only when the program that took it is gone.
    file_.setStaleLockTime(0);
}

ProgramLock::Outcome ProgramLock::take()
{
    if (file_.tryLock(0)) {
        // A new file, ours alone: it names the program and the machine.
        ::chmod(QFile::encodeName(file_.fileName()).constData(), S_IRUSR | S_IWUSR);
        return Outcome::Taken;
    }
    // A lock left by a program that is gone blocks the folder only because
    // the folder cannot be written to take it over.
    if (file_.error() == QLockFile::LockFailedError && !holderGone())
        return Outcome::HeldByAnother;
    trouble_ = FolderTrouble::of(folder_);
    if (trouble_.kind == FolderTrouble::Kind::None && file_.error() == QLockFile::LockFailedError)
        return Outcome::HeldByAnother;
    return Outcome::CannotWrite;
}

QString ProgramLock::holder() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (!file_.getLockInfo(&pid, &host, &application))
        return {};
    return QStringLiteral("（%1、プロセス %2、%3）").arg(application).arg(pid).arg(host);
}

bool ProgramLock::holderGone() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (!file_.getLockInfo(&pid, &host, &application) || host != QSysInfo::machineHostName())
        return false;
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}
