#pragma once

#include "fileops/SystemCalls.h"

#include <cerrno>
#include <map>

// System calls of which one fails on purpose: the n-th call (counted from 1) of the chosen
// kind does nothing and returns -1 with the chosen errno, as a full disk, a refused
// permission or a rename across file systems would. Every other call is the real one. A
// close that fails still closes the descriptor, as Linux does.
class FailingSystemCalls : public FsOps::SystemCalls {
public:
    enum class Call { Open, Read, Write, Fsync, Close, Mkdir, Rename, Unlink };

    FailingSystemCalls(Call call, int nth, int error) : call_(call), nth_(nth), error_(error) {}

    // How many calls of the kind were made so far (the failed one included).
    int count(Call call) const
    {
        const auto it = counts_.find(call);
        return it == counts_.end() ? 0 : it->second;
    }
    bool failed() const { return count(call_) >= nth_; }

    int open(const char* path, int flags, mode_t mode) override
    {
        return fails(Call::Open) ? -1 : SystemCalls::open(path, flags, mode);
    }
    ssize_t read(int fd, void* buffer, size_t size) override
    {
        return fails(Call::Read) ? -1 : SystemCalls::read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* data, size_t size) override
    {
        return fails(Call::Write) ? -1 : SystemCalls::write(fd, data, size);
    }
    ssize_t pwrite(int fd, const void* data, size_t size, off_t at) override
    {
        return fails(Call::Write) ? -1 : SystemCalls::pwrite(fd, data, size, at);
    }
    int fsync(int fd) override { return fails(Call::Fsync) ? -1 : SystemCalls::fsync(fd); }
    int close(int fd) override
    {
        if (!fails(Call::Close))
            return SystemCalls::close(fd);
        SystemCalls::close(fd);
        errno = error_;
        return -1;
    }
    int mkdir(const char* path, mode_t mode) override { return fails(Call::Mkdir) ? -1 : SystemCalls::mkdir(path, mode); }
    int renameNoReplace(const char* from, const char* to) override
    {
        return fails(Call::Rename) ? -1 : SystemCalls::renameNoReplace(from, to);
    }
    int unlinkat(int dirFd, const char* name, int flags) override
    {
        return fails(Call::Unlink) ? -1 : SystemCalls::unlinkat(dirFd, name, flags);
    }

private:
    bool fails(Call call)
    {
        if (++counts_[call] != nth_ || call != call_)
            return false;
        errno = error_;
        return true;
    }

    Call call_;
    int nth_;
    int error_;
    std::map<Call, int> counts_;
};
