#include "common/DeepTrees.h"
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

using DeepTrees::DeepTempTree;
using DeepTrees::makeChain;
using DeepTrees::namesIn;
using TestSupport::TempTree;

namespace {

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
