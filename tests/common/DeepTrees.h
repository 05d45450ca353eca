#pragma once

// Folder trees deeper than paths can name: made, and removed, by descriptor.

#include "common/TestSupport.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace DeepTrees {

inline void writeFileAt(int dirFd, const char* name, int size)
{
    const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << name;
    const std::string bytes(std::size_t(size), 'x');
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::close(fd);
}

// The names in a folder, without "." and "..".
inline std::vector<std::string> namesIn(int fd)
{
    std::vector<std::string> names;
    DIR* dir = ::fdopendir(::dup(fd));
    while (dirent* e = dir ? ::readdir(dir) : nullptr)
        if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..")
            names.emplace_back(e->d_name);
    if (dir)
        ::closedir(dir);
    return names;
}

inline void makeSide(int dirFd, const char* name)
{
    ASSERT_EQ(::mkdirat(dirFd, name, 0755), 0);
    const int side = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    writeFileAt(side, "s.txt", 1);
    ::close(side);
}

// Makes `levels` folders nested in each other under `base`, each named `name`, working by
// descriptor so the full paths may pass PATH_MAX. Before going down to level L, the folder
// above gets a file of (L % 97) bytes when L is a multiple of `fileEvery`, and when L is a
// multiple of `sideEvery` (0: never) two folders "side-a" and "side-b" with a file each,
// made before and after the next level so that, whatever order the directory lists them
// in, one of them waits beside the folder being walked into.
inline void makeChain(const QString& base, int levels, const char* name, int fileEvery, int sideEvery)
{
    int fd = ::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    for (int level = 1; level <= levels; ++level) {
        const bool sides = sideEvery && level % sideEvery == 0;
        if (sides)
            makeSide(fd, "side-a");
        ASSERT_EQ(::mkdirat(fd, name, 0755), 0) << "level " << level;
        if (level % fileEvery == 0)
            writeFileAt(fd, "f.txt", level % 97);
        if (sides)
            makeSide(fd, "side-b");
        const int next = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(next, 0) << "level " << level;
        ::close(fd);
        fd = next;
    }
    ::close(fd);
}

// Removes everything under `path`, however deep, without forming a path and at a constant
// depth: each folder's subfolders are first moved up next to it (some kernels take time in
// proportion to the depth for every removal).
inline void removeContents(const QString& path)
{
    const int base = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (base < 0)
        return;
    std::uint64_t hoisted = 0;
    for (std::vector<std::string> names = namesIn(base); !names.empty(); names = namesIn(base)) {
        for (const std::string& name : names) {
            if (::unlinkat(base, name.c_str(), 0) == 0 || ::unlinkat(base, name.c_str(), AT_REMOVEDIR) == 0)
                continue;
            const int fd = ::openat(base, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0) {
                ::close(base);
                return;
            }
            for (const std::string& inner : namesIn(fd)) {
                if (::unlinkat(fd, inner.c_str(), 0) != 0)
                    ::renameat(fd, inner.c_str(), base, ("hoisted-" + std::to_string(++hoisted)).c_str());
            }
            ::close(fd);
            ::unlinkat(base, name.c_str(), AT_REMOVEDIR);
        }
    }
    ::close(base);
}

// A temporary folder whose content may be too deep for QTemporaryDir to remove.
class DeepTempTree : public TestSupport::TempTree {
public:
    ~DeepTempTree() { removeContents(path()); }
};

} // namespace DeepTrees
