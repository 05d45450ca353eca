#include "scan/DirReader.h"

#include "scan/TFoldInfo.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

constexpr long kBufferSize = 64 * 1024;
constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr unsigned kStatxMask = STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_SIZE
                                | STATX_BLOCKS | STATX_ATIME | STATX_MTIME | STATX_CTIME | STATX_BTIME;

double absolute(const statx_timestamp& t) { return absoluteTimeFromUnix(t.tv_sec, t.tv_nsec); }

char* threadBuffer()
{
    thread_local std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    return buffer.get();
}

} // namespace

bool FolderStream::next(std::string_view& name, unsigned char& dtype)
{
    for (;;) {
        if (offset_ >= filled_) {
            if (ended_)
                return false;
            if (!buffer_)
                buffer_ = threadBuffer();
            const long n = ::syscall(SYS_getdents64, fd_, buffer_, kBufferSize);
            if (n <= 0) {
                failed_ = n < 0;
                ended_ = true;
                return false;
            }
            filled_ = n;
            offset_ = 0;
        }
        // glibc's dirent64 has the kernel's getdents64 record layout.
        const auto* d = reinterpret_cast<const struct dirent64*>(buffer_ + offset_);
        offset_ += d->d_reclen;
        const char* raw = d->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        name = std::string_view(raw, std::strlen(raw));
        dtype = d->d_type;
        return true;
    }
}

namespace DirReader {

int openSubfolder(int parentFd, const char* name) { return ::openat(parentFd, name, kOpenFlags | O_NOFOLLOW); }

int openPath(const char* path) { return ::open(path, kOpenFlags); }

bool statAt(int dirFd, const char* relativePath, EntryStat& out)
{
    struct statx sx {};
    if (::statx(dirFd, relativePath, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC,
                kStatxMask, &sx) != 0)
        return false;
    out.mode = sx.stx_mode;
    out.uid = sx.stx_uid;
    out.gid = sx.stx_gid;
    out.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    out.size = sx.stx_size;
    out.allocated = sx.stx_blocks * 512;
    // A birth time of 0 means the file system does not know it: use the change time.
    const bool hasBirth = (sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
    out.birthTime = absolute(hasBirth ? sx.stx_btime : sx.stx_ctime);
    out.modificationTime = absolute(sx.stx_mtime);
    out.accessTime = absolute(sx.stx_atime);
    return true;
}

dev_t deviceOf(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? st.st_dev : 0;
}

bool isReadOnlyMount(int fd)
{
    struct statvfs vfs {};
    return ::fstatvfs(fd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY);
}

} // namespace DirReader
