#include "common/TestSupport.h"
#include "common/TestMounts.h"
#include "scan/ScanFixtures.h"

#include <gtest/gtest.h>

using TestSupport::TempTree;

namespace {

struct ScanResult {
    std::unique_ptr<ScanTree> tree;
    qint64 hiddenSkipped = 0;
    qint64 otherFileSystemsSkipped = 0;
};

ScanResult scanWith(const QString& path, const FolderScanOptions& options, int threads = 1,
                    std::shared_ptr<const ExclusionList> exclusions = nullptr)
{
    ScanResult result;
    result.tree = std::make_unique<ScanTree>(path, QStringLiteral("root"));
    TFolderScanner scanner;
    scanner.setThreadCount(threads);
    scanner.setExclusionList(exclusions ? exclusions : std::make_shared<const ExclusionList>());
    scanner.setOptions(options);
    isScanAborted().store(false);
    scanner.scanFolder(result.tree->root());
    result.hiddenSkipped = scanner.hiddenFoldersSkipped();
    result.otherFileSystemsSkipped = scanner.otherFileSystemsSkipped();
    return result;
}

// A home-like folder whose dot-folders hold most of its bytes.
void makeHomeLikeTree(const TempTree& t)
{
    t.file(QStringLiteral("notes.txt"), 10);
    t.file(QStringLiteral(".cache/thumbnails/big.png"), 4000);
    t.file(QStringLiteral(".local/share/app/data.db"), 2000);
    t.file(QStringLiteral("projects/.git/objects/pack.bin"), 500);
    t.file(QStringLiteral(".Trash/old.txt"), 3);
    t.file(QStringLiteral(".profile"), 3);
    t.file(QStringLiteral(".cache/excluded/skip.bin"), 700);
    t.file(QStringLiteral(".strings.lproj/x.strings"), 5);
    t.symlink(t.at(QStringLiteral(".cache")), QStringLiteral(".cache-link"));
}

} // namespace

TEST(ScanOptions, HiddenFoldersArePassedOverAndCountedByDefault)
{
    TempTree t;
    makeHomeLikeTree(t);
    const ScanResult result = scanWith(t.path(), FolderScanOptions{});
    TFoldInfo* root = result.tree->root();
    EXPECT_EQ(findNode(root, QStringLiteral(".cache")), nullptr);
    EXPECT_EQ(findNode(root, QStringLiteral(".local")), nullptr);
    EXPECT_EQ(childNames(findNode(root, QStringLiteral("projects"))), QStringList());
    // Hidden files and the trash keep their rules.
    EXPECT_NE(findNode(root, QStringLiteral(".profile")), nullptr);
    EXPECT_NE(findNode(root, QStringLiteral(".Trash/old.txt")), nullptr);
    // .cache, .local and projects/.git; not the trash, and not what never reached the test
    // (the link and the .lproj folder).
    EXPECT_EQ(result.hiddenSkipped, 3);
    EXPECT_EQ(result.otherFileSystemsSkipped, 0);
}

TEST(ScanOptions, HiddenFoldersAreEnteredWhenAskedAndOtherRulesStillHold)
{
    TempTree t;
    makeHomeLikeTree(t);
    FolderScanOptions options;
    options.scanHiddenFolders = true;
    for (int threads : {1, 3}) {
        const ScanResult result =
            scanWith(t.path(), options, threads, excluding({t.at(QStringLiteral(".cache/excluded"))}));
        TFoldInfo* root = result.tree->root();
        ASSERT_NE(findNode(root, QStringLiteral(".cache/thumbnails/big.png")), nullptr) << threads;
        EXPECT_EQ(findNode(root, QStringLiteral(".cache/thumbnails/big.png"))->cSize(), 4000u);
        EXPECT_NE(findNode(root, QStringLiteral(".local/share/app/data.db")), nullptr);
        EXPECT_NE(findNode(root, QStringLiteral("projects/.git/objects/pack.bin")), nullptr);
        EXPECT_TRUE(findNode(root, QStringLiteral(".cache"))->itemAttrInfo().flags & ItemFlags::Invisible);
        // Links, ".lproj" and exclusions are not hidden-folder rules.
        EXPECT_EQ(findNode(root, QStringLiteral(".cache-link")), nullptr);
        EXPECT_EQ(findNode(root, QStringLiteral(".strings.lproj")), nullptr);
        EXPECT_EQ(findNode(root, QStringLiteral(".cache/excluded")), nullptr);
        EXPECT_EQ(result.hiddenSkipped, 0);
    }
}

TEST(ScanOptions, AChangeDuringAScanAppliesToTheNextOne)
{
    TempTree t;
    makeHomeLikeTree(t);
    auto tree = std::make_unique<ScanTree>(t.path(), QStringLiteral("root"));
    TFolderScanner scanner;
    scanner.setThreadCount(1);
    scanner.setExclusionList(std::make_shared<const ExclusionList>());
    FolderScanOptions hidden;
    hidden.scanHiddenFolders = true;
    scanner.setNodeAddedCallback([&](const TFoldInfo&) { scanner.setOptions(hidden); });
    isScanAborted().store(false);
    ASSERT_TRUE(scanner.scanFolder(tree->root()));
    EXPECT_EQ(findNode(tree->root(), QStringLiteral(".cache")), nullptr);
    EXPECT_EQ(scanner.hiddenFoldersSkipped(), 3);

    auto next = std::make_unique<ScanTree>(t.path(), QStringLiteral("root"));
    ASSERT_TRUE(scanner.scanFolder(next->root()));
    EXPECT_NE(findNode(next->root(), QStringLiteral(".cache")), nullptr);
    EXPECT_EQ(scanner.hiddenFoldersSkipped(), 0); // counted afresh for each scan
}

TEST(ScanOptions, OneFileSystemPassesOverFoldersMountedBeneathTheRoot)
{
    TempTree t;
    t.file(QStringLiteral("local/a.bin"), 100);
    const TestMount mount = TestMount::tmpfs(t.at(QStringLiteral("local/media")));
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    t.file(QStringLiteral("local/media/usb/photo.jpg"), 3000);

    const ScanResult everything = scanWith(t.path(), FolderScanOptions{});
    TFoldInfo* media = findNode(everything.tree->root(), QStringLiteral("local/media"));
    ASSERT_NE(media, nullptr);
    EXPECT_TRUE(media->itemAttrInfo().flags & ItemFlags::Volume);
    EXPECT_NE(findNode(everything.tree->root(), QStringLiteral("local/media/usb/photo.jpg")), nullptr);
    EXPECT_EQ(everything.otherFileSystemsSkipped, 0);

    FolderScanOptions options;
    options.stayOnOneFileSystem = true;
    for (int threads : {1, 3}) {
        const ScanResult oneFs = scanWith(t.path(), options, threads);
        EXPECT_EQ(childNames(findNode(oneFs.tree->root(), QStringLiteral("local"))), QStringList{QStringLiteral("a.bin")});
        EXPECT_EQ(oneFs.otherFileSystemsSkipped, 1) << threads;
    }

    // Scanning the mounted file system itself: its own folders share the root's device.
    const ScanResult inside = scanWith(t.at(QStringLiteral("local/media")), options);
    EXPECT_NE(findNode(inside.tree->root(), QStringLiteral("usb/photo.jpg")), nullptr);
    EXPECT_EQ(inside.otherFileSystemsSkipped, 0);
}
