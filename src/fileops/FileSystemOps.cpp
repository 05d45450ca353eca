#include "fileops/FileSystemOps.h"

#include "fileops/PathBytes.h"
#include "fileops/SystemCalls.h"

#include <QList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace FsOps {

QString Failure::text() const
{
    if (!reason.isEmpty())
        return reason;
    return QString::fromLocal8Bit(std::strerror(code));
}

namespace {

constexpr size_t kCopyBuffer = 256 * 1024;

Failure failure(int code, const QByteArray& path) { return Failure{code, path, {}}; }
Failure failureNow(const QByteArray& path) { return failure(errno, path); }

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and returns close()'s errno (0 when it succeeded).
    int close()
    {
        if (fd_ < 0)
            return 0;
        const int rc = systemCalls().close(fd_);
        fd_ = -1;
        return rc == 0 || errno == EINTR ? 0 : errno;
    }
    void reset() { close(); }

private:
    int fd_;
};

bool writeAll(int fd, const char* data, size_t size, off_t* at)
{
    while (size > 0) {
        const ssize_t n = at ? systemCalls().pwrite(fd, data, size, *at) : systemCalls().write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
        if (at)
            *at += n;
    }
    return true;
}

// Streams the whole of `in` into `out` until the end of the file.
Result copyStream(int in, int out, const QByteArray& source, const QByteArray& target)
{
    std::unique_ptr<char[]> buffer(new char[kCopyBuffer]);
    for (;;) {
        const ssize_t n = systemCalls().read(in, buffer.get(), kCopyBuffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failureNow(source);
        }
        if (n == 0)
            return std::nullopt;
        if (!writeAll(out, buffer.get(), size_t(n), nullptr))
            return failureNow(target);
    }
}

// Copies only the data regions of a sparse file and leaves its holes as holes, so that a
// copy takes no more room on disk than the original.
Result copySparse(int in, int out, off_t size, const QByteArray& source, const QByteArray& target)
{
    std::unique_ptr<char[]> buffer(new char[kCopyBuffer]);
    off_t pos = 0;
    while (pos < size) {
        off_t data = ::lseek(in, pos, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break; // only a hole remains
            if (errno == EINVAL && pos == 0 && ::lseek(in, 0, SEEK_SET) == 0)
                return copyStream(in, out, source, target); // no hole support here
            return failureNow(source);
        }
        off_t hole = ::lseek(in, data, SEEK_HOLE);
        if (hole < 0)
            return failureNow(source);
        hole = std::min(hole, size);
        for (off_t at = data; at < hole;) {
            const size_t want = size_t(std::min<off_t>(hole - at, off_t(kCopyBuffer)));
            const ssize_t n = ::pread(in, buffer.get(), want, at);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return failureNow(source);
            }
            if (n == 0)
                break; // the file shrank while we read it
            off_t writeAt = at;
            if (!writeAll(out, buffer.get(), size_t(n), &writeAt))
                return failureNow(target);
            at += n;
        }
        pos = hole;
    }
    if (::ftruncate(out, size) != 0)
        return failureNow(target);
    return std::nullopt;
}

void copyOwnerModeTimes(int fd, const QByteArray& path, const struct stat& st, bool isLink)
{
    // Ownership first: changing the owner clears the set-user and set-group bits.
    if (::geteuid() == 0) {
        if (fd >= 0)
            [[maybe_unused]] int rc = ::fchown(fd, st.st_uid, st.st_gid);
        else
            [[maybe_unused]] int rc = ::lchown(path.constData(), st.st_uid, st.st_gid);
    }
    const timespec times[2] = {st.st_atim, st.st_mtim};
    if (fd >= 0) {
        ::fchmod(fd, st.st_mode & 07777);
        ::futimens(fd, times);
    } else {
        if (!isLink)
            ::chmod(path.constData(), st.st_mode & 07777);
        ::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW);
    }
}

// `created`, when given, is set once the target exists (made by this call).
Result copyFile(const QByteArray& source, const QByteArray& target, const struct stat& st, bool durable,
                bool* created)
{
    Fd in(systemCalls().open(source.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0));
    if (!in.valid())
        return failureNow(source);
    Fd out(systemCalls().open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.valid())
        return failureNow(target);
    if (created)
        *created = true;
    const bool sparse = off_t(st.st_blocks) * 512 < st.st_size;
    if (Result r = sparse ? copySparse(in.get(), out.get(), st.st_size, source, target)
                          : copyStream(in.get(), out.get(), source, target))
        return r;
    copyOwnerModeTimes(out.get(), target, st, false);
    if (durable && systemCalls().fsync(out.get()) != 0)
        return failureNow(target);
    // A full disk or a network file system may only say so when the file is closed.
    if (const int err = out.close())
        return failure(err, target);
    return std::nullopt;
}

// The names in a folder, "." and ".." left out.
Result listFolder(int fd, const QByteArray& path, QList<QByteArray>& names)
{
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int err = errno;
        ::close(fd);
        return failure(err, path);
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            const int err = errno;
            ::closedir(dir);
            if (err != 0)
                return failure(err, path);
            return std::nullopt;
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        names.append(QByteArray(name));
    }
}

Result copyEntry(const QByteArray& source, const QByteArray& target, bool forMove, dev_t device,
                 bool* created = nullptr);

Result copyFolder(const QByteArray& source, const QByteArray& target, const struct stat& st, bool forMove,
                  bool* created)
{
    const int fd = systemCalls().open(source.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC, 0);
    if (fd < 0)
        return failureNow(source);
    QList<QByteArray> names;
    if (Result r = listFolder(fd, source, names))
        return r;
    if (systemCalls().mkdir(target.constData(), 0700) != 0)
        return failureNow(target);
    if (created)
        *created = true;
    for (const QByteArray& name : std::as_const(names)) {
        if (Result r = copyEntry(PathBytes::join(source, name), PathBytes::join(target, name), forMove, st.st_dev))
            return r;
    }
    // Last, so that copying the contents does not change the folder's times again.
    copyOwnerModeTimes(-1, target, st, false);
    return std::nullopt;
}

Result copyLink(const QByteArray& source, const QByteArray& target, const struct stat& st)
{
    QByteArray linkTarget(qMax<qsizetype>(qsizetype(st.st_size), PATH_MAX) + 1, Qt::Uninitialized);
    const ssize_t n = ::readlink(source.constData(), linkTarget.data(), size_t(linkTarget.size()));
    if (n < 0)
        return failureNow(source);
    linkTarget.truncate(n);
    if (::symlink(linkTarget.constData(), target.constData()) != 0)
        return failureNow(target);
    copyOwnerModeTimes(-1, target, st, true);
    return std::nullopt;
}

Result removeAt(int dirFd, const QByteArray& name, const QByteArray& path)
{
    struct stat st;
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failureNow(path);
    if (S_ISDIR(st.st_mode)) {
        const int fd = ::openat(dirFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return failureNow(path);
        // Listing closes its descriptor; a second one is kept for removing the children.
        const int childFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (childFd < 0) {
            const int err = errno;
            ::close(fd);
            return failure(err, path);
        }
        Fd children(childFd);
        QList<QByteArray> names;
        if (Result r = listFolder(fd, path, names))
            return r;
        for (const QByteArray& child : std::as_const(names)) {
            if (Result r = removeAt(children.get(), child, PathBytes::join(path, child)))
                return r;
        }
        if (systemCalls().unlinkat(dirFd, name.constData(), AT_REMOVEDIR) != 0)
            return failureNow(path);
        return std::nullopt;
    }
    if (systemCalls().unlinkat(dirFd, name.constData(), 0) != 0)
        return failureNow(path);
    return std::nullopt;
}

Result copyEntry(const QByteArray& source, const QByteArray& target, bool forMove, dev_t device, bool* created)
{
    struct stat st;
    if (::lstat(source.constData(), &st) != 0)
        return failureNow(source);
    // Moving would empty the volume mounted there and then fail to remove its mount point.
    if (forMove && S_ISDIR(st.st_mode) && st.st_dev != device)
        return Failure{EXDEV, source, QStringLiteral("it holds a mounted volume, which cannot be moved")};
    switch (st.st_mode & S_IFMT) {
    case S_IFREG:
        return copyFile(source, target, st, forMove, created);
    case S_IFDIR:
        return copyFolder(source, target, st, forMove, created);
    case S_IFLNK:
        return copyLink(source, target, st);
    case S_IFIFO:
        if (::mkfifo(target.constData(), st.st_mode & 07777) != 0)
            return failureNow(target);
        copyOwnerModeTimes(-1, target, st, false);
        return std::nullopt;
    case S_IFCHR:
    case S_IFBLK:
        if (::mknod(target.constData(), st.st_mode & (S_IFMT | 07777), st.st_rdev) != 0)
            return failureNow(target);
        copyOwnerModeTimes(-1, target, st, false);
        return std::nullopt;
    default:
        return Failure{EOPNOTSUPP, source, QStringLiteral("a socket cannot be copied")};
    }
}

} // namespace

Result copyItem(const QByteArray& source, const QByteArray& target, Purpose purpose)
{
    struct stat st;
    if (::lstat(source.constData(), &st) != 0)
        return failureNow(source);
    bool created = false;
    Result result = copyEntry(source, target, purpose == Purpose::Move, st.st_dev, &created);
    // A copy that stopped part way would pass for the whole item under its name; what this
    // call made goes again, so the destination holds either the whole copy or nothing.
    if (result && created)
        if (Result cleanup = removeItem(target))
            result->reason = QStringLiteral("%1; the incomplete copy “%2” could not be removed: %3")
                                 .arg(result->text(), PathBytes::display(PathBytes::lastComponent(target)), cleanup->text());
    return result;
}

Result removeItem(const QByteArray& path)
{
    const QByteArray clean = PathBytes::clean(path);
    const QByteArray name = PathBytes::lastComponent(clean);
    if (name.isEmpty() || name == "..")
        return Failure{EINVAL, path, QStringLiteral("this item cannot be deleted")};
    const QByteArray parent = PathBytes::parent(clean);
    const int dirFd = parent.isEmpty() ? AT_FDCWD
                                       : ::open(parent.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0 && dirFd != AT_FDCWD)
        return failureNow(parent);
    Result result = removeAt(dirFd, name, clean);
    if (dirFd != AT_FDCWD)
        ::close(dirFd);
    return result;
}

int renameNoReplace(const QByteArray& source, const QByteArray& target)
{
    if (systemCalls().renameNoReplace(source.constData(), target.constData()) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // Some file systems cannot rename exclusively. A hard link refuses an existing name
    // atomically; folders, which cannot be linked, are checked first and then renamed.
    struct stat st;
    if (::lstat(source.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode)) {
        if (::link(source.constData(), target.constData()) == 0) {
            if (::unlink(source.constData()) == 0)
                return 0;
            const int err = errno;
            ::unlink(target.constData());
            return err;
        }
        if (errno == EEXIST || errno == EXDEV)
            return errno;
    }
    if (PathBytes::exists(target))
        return EEXIST;
    return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

bool isSameOrInside(const QByteArray& folder, const QByteArray& item)
{
    struct stat itemStat;
    if (::lstat(item.constData(), &itemStat) != 0 || !S_ISDIR(itemStat.st_mode))
        return false;
    char resolved[PATH_MAX];
    if (!::realpath(folder.constData(), resolved))
        return false;
    for (QByteArray at(resolved);; at = PathBytes::parent(at)) {
        struct stat st;
        if (::stat(at.constData(), &st) == 0 && st.st_dev == itemStat.st_dev && st.st_ino == itemStat.st_ino)
            return true;
        if (at == "/" || at.isEmpty())
            return false;
    }
}

} // namespace FsOps
