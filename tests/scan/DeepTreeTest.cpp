#include "common/TestSupport.h"
#include "scan/AnalysisLib.h"
#include "scan/ScanFixtures.h"
#include "settings/Log.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using TestSupport::TempTree;

namespace {

void writeFileAt(int dirFd, const char* name, int size)
{
    const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << name;
    const std::string bytes(std::size_t(size), 'x');
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::close(fd);
}

// The names in a folder, without "." and "..".
std::vector<std::string> namesIn(int fd)
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

void makeSide(int dirFd, const char* name)
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
void makeChain(const QString& base, int levels, const char* name, int fileEvery, int sideEvery)
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

// A name for the folders of a chain that the directory lists before "side-a" or "side-b",
// so that a side folder waits while the walk goes down the chain. Directories list small
// folders in an order of their own (by name hash on ext4), the same in every folder.
std::string nameListedBeforeASide(const QString& scratch)
{
    const int fd = ::open(QFile::encodeName(scratch).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const char* name : {"side-a", "side-b"})
        ::mkdirat(fd, name, 0755);
    for (int i = 0; i < 16; ++i)
        ::mkdirat(fd, ("spine-" + std::to_string(i)).c_str(), 0755);
    std::vector<std::string> order = namesIn(fd);
    std::string chosen;
    for (const std::string& name : order) {
        if (name.starts_with("side-"))
            break; // a chain name listed before this side
        if (chosen.empty())
            chosen = name;
    }
    for (const std::string& name : order)
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    ::close(fd);
    return chosen.empty() ? std::string("spine-0") : chosen;
}

// Removes everything under `path`, however deep, without forming a path and at a constant
// depth: each folder's subfolders are first moved up next to it (some kernels take time in
// proportion to the depth for every removal).
void removeContents(const QString& path)
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
class DeepTempTree : public TempTree {
public:
    ~DeepTempTree() { removeContents(path()); }
};

// The deepest node down the first subfolder of each folder, and how far down it is.
std::pair<const TFoldInfo*, int> deepest(const TFoldInfo* node, const char* name)
{
    int depth = 0;
    for (;;) {
        const TFoldInfo* next = nullptr;
        for (const TFoldInfo* child : node->SubList())
            if (child->nameBytes() == name)
                next = child;
        if (!next)
            return {node, depth};
        node = next;
        ++depth;
    }
}

int openDescriptors()
{
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir))
            ++count;
        ::closedir(dir);
        count -= 3; // ".", ".." and the listing itself
    }
    return count;
}

} // namespace

TEST(DeepTrees, PathsLongerThanPathMaxScanTheSameWithAnyThreadCount)
{
    DeepTempTree t;
    makeChain(t.path(), 2000, "a-folder-level", 1, 10);
    auto tree = scanInto(t.path(), 1);
    const auto [bottom, depth] = deepest(tree->root(), "a-folder-level");
    EXPECT_EQ(depth, 2000);
    EXPECT_GT(bottom->sPathBytes().size(), PATH_MAX);
    EXPECT_TRUE(bottom->sPathBytes().startsWith(t.pathBytes() + "/a-folder-level/a-folder-level/"));
    EXPECT_EQ(bottom->childCount(), 0u);
    expectSameTreeForAnyThreadCount(t.path());
}

TEST(DeepTrees, HundredThousandLevelsScanWithoutRecursion)
{
    DeepTempTree t;
    makeChain(t.path(), 100000, "d", 1000, 0);
    bool completed = false;
    auto tree = scanInto(t.path(), 2, nullptr, nullptr, &completed);
    EXPECT_TRUE(completed);
    const auto [bottom, depth] = deepest(tree->root(), "d");
    EXPECT_EQ(depth, 100000);
    EXPECT_EQ(bottom->sPathBytes().size(), t.pathBytes().size() + 2 * 100000);

    // The totals come out whole too.
    AnalysisLib::totalFinishedTree(tree->root());
    TFolderScanner().ReadFilesCountAndSizeForRoot(tree->root());
    EXPECT_EQ(tree->root()->child(0)->cFolders(), 99999);
    EXPECT_EQ(tree->root()->cFolders(), 100000);
    EXPECT_EQ(tree->root()->cFiles(), 100);
    std::uint64_t bytes = 0;
    for (int level = 1000; level <= 100000; level += 1000)
        bytes += std::uint64_t(level % 97);
    EXPECT_EQ(tree->root()->cSize(), bytes);
}

TEST(DeepTrees, LowDescriptorLimitLosesNoFolder)
{
    TempTree t;
    // A comb whose teeth wait beside the spine at every level, and 5,000 folders in 50 rows.
    makeChain(t.path(), 80, nameListedBeforeASide(t.path()).c_str(), 1, 1);
    for (int row = 0; row < 50; ++row)
        for (int i = 0; i < 100; ++i)
            t.file(QStringLiteral("rows/r%1/f%2/x.txt").arg(row).arg(i), 1);
    const qint64 folders = 80 + 160 + 1 + 50 + 5000;
    const qint64 files = 80 + 160 + 5000;

    // Limits where the held descriptors run out, and where none can be held at all.
    for (const auto& [spare, threads] : {std::pair{40, 2}, std::pair{10, 1}}) {
        {
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                const rlim_t limit = rlim_t(openDescriptors() + spare);
                const rlimit low{limit, limit};
                if (::setrlimit(RLIMIT_NOFILE, &low) != 0)
                    ::_exit(10);
                Log::setSink(Log::Sink::Discard);
                bool completed = false;
                auto tree = scanInto(t.path(), threads, nullptr, nullptr, &completed);
                AnalysisLib::totalFinishedTree(tree->root());
                TFolderScanner().ReadFilesCountAndSizeForRoot(tree->root());
                if (AnalysisLib::countUnreadableFolders(tree->root()) != 0)
                    ::_exit(14);
                if (!completed)
                    ::_exit(11);
                if (tree->root()->cFolders() != folders)
                    ::_exit(12);
                if (tree->root()->cFiles() != files)
                    ::_exit(13);
                ::_exit(0);
            }
            int status = 0;
            ::waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status)) << "spare " << spare << " threads " << threads;
            EXPECT_EQ(WEXITSTATUS(status), 0) << "spare " << spare << " threads " << threads;
        }
    }
}
