#include "fileops/SystemCalls.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace FsOps {

namespace {

SystemCalls& realCalls()
{
    static SystemCalls real;
    return real;
}

SystemCalls* current = nullptr;

} // namespace

int SystemCalls::open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t SystemCalls::read(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }
ssize_t SystemCalls::write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
ssize_t SystemCalls::pwrite(int fd, const void* data, size_t size, off_t at) { return ::pwrite(fd, data, size, at); }
int SystemCalls::fsync(int fd) { return ::fsync(fd); }
int SystemCalls::close(int fd) { return ::close(fd); }
int SystemCalls::mkdir(const char* path, mode_t mode) { return ::mkdir(path, mode); }
int SystemCalls::renameNoReplace(const char* from, const char* to)
{
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int SystemCalls::unlinkat(int dirFd, const char* name, int flags) { return ::unlinkat(dirFd, name, flags); }

SystemCalls& systemCalls() { return current ? *current : realCalls(); }

ScopedSystemCalls::ScopedSystemCalls(SystemCalls& calls) : previous_(current) { current = &calls; }
ScopedSystemCalls::~ScopedSystemCalls() { current = previous_; }

} // namespace FsOps
