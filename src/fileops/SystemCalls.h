#pragma once

#include <fcntl.h>
#include <sys/types.h>

// The few system calls through which trashing, copying and moving change the disk. The
// file operations make them through systemCalls(), which is the real kernel unless a test
// installed a stand-in that fails on purpose (a full disk, a refused permission, a rename
// across file systems) to check that a failure half way loses nothing.
//
// Every call returns what the system call returns and leaves errno as it would.
namespace FsOps {

class SystemCalls {
public:
    virtual ~SystemCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t read(int fd, void* buffer, size_t size);
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual ssize_t pwrite(int fd, const void* data, size_t size, off_t at);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int mkdir(const char* path, mode_t mode);
    // renameat2(RENAME_NOREPLACE) between two paths of the current folder's view.
    virtual int renameNoReplace(const char* from, const char* to);
    virtual int unlinkat(int dirFd, const char* name, int flags);
};

// The calls in force: the real ones, or those a ScopedSystemCalls put in place.
SystemCalls& systemCalls();

// Puts other calls in place for its lifetime (main thread; not nested across threads).
class ScopedSystemCalls {
public:
    explicit ScopedSystemCalls(SystemCalls& calls);
    ~ScopedSystemCalls();
    ScopedSystemCalls(const ScopedSystemCalls&) = delete;
    ScopedSystemCalls& operator=(const ScopedSystemCalls&) = delete;

private:
    SystemCalls* previous_;
};

} // namespace FsOps
