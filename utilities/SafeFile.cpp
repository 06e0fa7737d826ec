#include "utilities/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

FileError failed(const char* action, const QString& path, int number = errno)
{
    return FileError{QString::fromLatin1(action), path, number};
}

// Closes the descriptor when the step ends, whichever way it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // A close can report a write the disk refused late.
    int close()
    {
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

// The shop's data is for its owner only, whatever the umask: a new file is
// made so and set so once more, since the umask may take bits away too.
constexpr mode_t OwnerFile = S_IRUSR | S_IWUSR;
constexpr mode_t OwnerFolder = S_IRWXU;

int createOwn(const QString& path)
{
    const int fd =
        ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, OwnerFile);
    if (fd >= 0 && ::fchmod(fd, OwnerFile) != 0) {
        const int number = errno;
        ::close(fd);
        ::unlink(native(path).constData());
        errno = number;
        return -1;
    }
    return fd;
}

bool writeAll(int fd, const char* data, ssize_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

SafeFile::Observer& observer()
{
    static SafeFile::Observer watching;
    return watching;
}

void tell(const char* step, const QString& path)
{
    if (observer())
        observer()(QString::fromLatin1(step), path);
}

} // namespace

QString FileError::text() const
{
    return QString::fromLocal8Bit(std::strerror(number));
}

QString FileError::describe() const
{
    return QStringLiteral("%1 %2: %3 (%4)").arg(action, path, text()).arg(number);
}

bool FileError::denied() const
{
    return number == EACCES || number == EPERM || number == EROFS;
}

namespace SafeFile {

void observe(Observer watching)
{
    observer() = std::move(watching);
}

Result makeFolder(const QString& path)
{
    const QString parent = QFileInfo(path).absolutePath();
    if (QFileInfo(path).isDir())
        return std::nullopt;
    if (parent != path && !QFileInfo(parent).exists()) {
        if (Result r = makeFolder(parent))
            return r;
    }
    if (::mkdir(native(path).constData(), OwnerFolder) == 0) {
        if (::chmod(native(path).constData(), OwnerFolder) != 0)
            return failed("chmod", path);
    } else if (errno != EEXIST) {
        return failed("mkdir", path);
    }
    if (!QFileInfo(path).isDir())
        return failed("mkdir", path, ENOTDIR);
    return std::nullopt;
}

Result createEmpty(const QString& path)
{
    Descriptor fd(createOwn(path));
    if (!fd.valid())
        return failed("create", path);
    if (fd.close() != 0)
        return failed("create", path);
    return std::nullopt;
}

Result remove(const QString& path)
{
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT)
        return failed("remove", path);
    return std::nullopt;
}

Result sync(const QString& path)
{
    Descriptor fd(::open(native(path).constData(), O_RDWR | O_CLOEXEC));
    if (!fd.valid())
        return failed("open", path);
    if (::fsync(fd.get()) != 0)
        return failed("fsync", path);
    tell("fsync", path);
    if (fd.close() != 0)
        return failed("close", path);
    return std::nullopt;
}

Result syncFolder(const QString& path)
{
    Descriptor fd(::open(native(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        return failed("open", path);
    // Some file systems of removable media cannot sync a folder; their
    // rename is as durable as they make it.
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOTSUP)
        return failed("fsync", path);
    return std::nullopt;
}

Result copy(const QString& from, const QString& to)
{
    Descriptor in(::open(native(from).constData(), O_RDONLY | O_CLOEXEC));
    if (!in.valid())
        return failed("open", from);
    Descriptor out(createOwn(to));
    if (!out.valid())
        return failed("create", to);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed("read", from);
        if (n == 0)
            break;
        if (!writeAll(out.get(), buffer.data(), n))
            return failed("write", to);
    }
    if (::fsync(out.get()) != 0)
        return failed("fsync", to);
    tell("fsync", to);
    if (out.close() != 0)
        return failed("close", to);
    return std::nullopt;
}

Result replace(const QString& from, const QString& to)
{
    tell("rename", from);
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        return failed("rename", to);
    return syncFolder(QFileInfo(to).absolutePath());
}

} // namespace SafeFile
