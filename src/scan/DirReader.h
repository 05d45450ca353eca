#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string_view>

// What one statx told about a directory entry.
struct EntryStat {
    std::uint32_t mode = 0;
    uid_t uid = 0;
    gid_t gid = 0;
    dev_t dev = 0;
    std::uint64_t size = 0;
    std::uint64_t allocated = 0; // stx_blocks * 512
    double birthTime = 0;        // absolute times (seconds since 2001-01-01 UTC)
    double modificationTime = 0;
    double accessTime = 0;
};

// The entries of one open folder, in the order the directory returns them, read a large
// buffer at a time ("." and ".." left out). Does not own the descriptor. The buffer belongs
// to the calling thread, so one stream per thread is read at a time.
class FolderStream {
public:
    explicit FolderStream(int fd) : fd_(fd) {}
    FolderStream(const FolderStream&) = delete;
    FolderStream& operator=(const FolderStream&) = delete;

    // The next entry's name and d_type. False at the end of the folder or when a read
    // failed (failed() tells which); the name stays valid until the next call.
    bool next(std::string_view& name, unsigned char& dtype);
    // A read of the folder failed: the entries given so far are all there is.
    bool failed() const { return failed_; }

private:
    int fd_;
    char* buffer_ = nullptr;
    long filled_ = 0;
    long offset_ = 0;
    bool failed_ = false;
    bool ended_ = false;
};

namespace DirReader {

// Opens a subfolder relative to its parent's descriptor, refusing a symbolic link. Returns
// the descriptor or -1 with errno set.
int openSubfolder(int parentFd, const char* name);

// Opens a folder by path (the scan root, which may be reached through a link). Returns the
// descriptor or -1 with errno set.
int openPath(const char* path);

// The statx of a path relative to a folder, not following a final link, or false.
bool statAt(int dirFd, const char* relativePath, EntryStat& out);

// The device of an open folder (0 when it cannot be asked) and whether its file system is
// mounted read-only.
dev_t deviceOf(int fd);
bool isReadOnlyMount(int fd);

} // namespace DirReader
