#include "scan/DirReader.h"

#include "scan/TFoldInfo.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

DirFd::~DirFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {

constexpr unsigned kStatxMask = STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_SIZE
                                | STATX_BLOCKS | STATX_ATIME | STATX_MTIME | STATX_CTIME | STATX_BTIME;

double absolute(const statx_timestamp& t) { return absoluteTimeFromUnix(t.tv_sec, t.tv_nsec); }

void fillFromStatx(const struct statx& sx, DirEntry& out)
{
    out.statOk = true;
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
}

int openFolder(const DirLocation& where)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (!where.parent) // the scan root may itself be given through a link, as a path
        return ::open(where.path.c_str(), flags);
    // A subfolder must still be a folder and not a link when it is opened.
    int fd = ::openat(where.parent->fd(), where.name.c_str(), flags | O_NOFOLLOW);
    // Out of descriptors: the full path still works, at the cost of a longer lookup.
    if (fd < 0 && (errno == EMFILE || errno == ENFILE) && !where.path.empty())
        fd = ::open(where.path.c_str(), flags | O_NOFOLLOW);
    return fd;
}

} // namespace

namespace DirReader {

bool statAt(int dirFd, const char* relativePath, DirEntry& out)
{
    struct statx sx {};
    if (::statx(dirFd, relativePath, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC,
                kStatxMask, &sx) != 0)
        return false;
    fillFromStatx(sx, out);
    return true;
}

DirListing read(const DirLocation& where)
{
    DirListing listing;
    const int fd = openFolder(where);
    if (fd < 0) {
        listing.openError = errno;
        return listing;
    }
    listing.opened = true;
    listing.fd = std::make_shared<DirFd>(fd);

    if (where.knownDevice) {
        listing.dev = where.dev;
    } else {
        struct stat st {};
        listing.dev = ::fstat(fd, &st) == 0 ? st.st_dev : 0;
    }
    if (where.parent && where.knownDevice && listing.dev == where.parentDev) {
        listing.readOnly = where.parentReadOnly;
    } else {
        struct statvfs vfs {};
        listing.readOnly = ::fstatvfs(fd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY);
    }

    thread_local std::unique_ptr<char[]> buffer(new char[64 * 1024]);
    for (;;) {
        const long n = ::syscall(SYS_getdents64, fd, buffer.get(), 64 * 1024);
        if (n <= 0) {
            if (n < 0)
                listing.readError = errno; // keep what was read so far
            break;
        }
        for (long offset = 0; offset < n;) {
            // glibc's dirent64 has the kernel's getdents64 record layout.
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer.get() + offset);
            offset += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            DirEntry entry;
            entry.nameOffset = std::uint32_t(listing.names.size());
            entry.nameLength = std::uint16_t(std::strlen(name));
            entry.dtype = d->d_type;
            listing.names.append(name, entry.nameLength);
            statAt(fd, name, entry);
            listing.entries.push_back(entry);
        }
    }
    return listing;
}

} // namespace DirReader
