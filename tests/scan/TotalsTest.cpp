#include "common/TestSupport.h"
#include "reports/LoadAllFolders.h"
#include "scan/AnalysisLib.h"
#include "scan/ScanFixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

using TestSupport::TempTree;

TEST(TreeTotals, RootTotalsCountFilesFoldersAndHardLinksUnderEachName)
{
    TempTree t;
    t.file(QStringLiteral("one.bin"), 1000000);
    t.hardlink(QStringLiteral("one.bin"), QStringLiteral("two.bin"));
    t.file(QStringLiteral("a/b/c.txt"), 10);
    t.mkdir(QStringLiteral("a/empty"));
    t.file(QStringLiteral("Viewer.app/Contents/Info.plist"), 5);
    t.file(QStringLiteral("Viewer.app/Contents/bin/viewer"), 95);

    auto tree = scanInto(t.path(), 1);
    TFolderScanner scanner;
    scanner.ReadFilesCountAndSizeForRoot(tree->root());
    const TFoldInfo* root = tree->root();
    EXPECT_EQ(root->cSize(), 2000000u + 10u + 100u);
    // one.bin, two.bin, c.txt and the application as one file.
    EXPECT_EQ(root->cFiles(), 4);
    EXPECT_EQ(root->cFolders(), 3); // a, a/b, a/empty
    const TFoldInfo* app = findNode(tree->root(), QStringLiteral("Viewer.app"));
    EXPECT_EQ(app->cSize(), 100u);
    EXPECT_EQ(app->cFiles(), 0); // the scanner's variant leaves an application's counts alone
    EXPECT_EQ(app->cFolders(), 0);
}

TEST(TreeTotals, PlainVariantCountsApplicationContent)
{
    TempTree t;
    t.file(QStringLiteral("Viewer.app/Contents/Info.plist"), 5);
    t.file(QStringLiteral("Viewer.app/Contents/bin/viewer"), 95);
    auto tree = scanInto(t.path(), 1);
    AnalysisLib().ReadFoldersForTreeExplorer(tree->root()->SubList());
    const TFoldInfo* app = tree->root()->child(0);
    EXPECT_EQ(app->cFiles(), 2);
    EXPECT_EQ(app->cFolders(), 2);
}

TEST(TreeTotals, EmptyFoldersAndZeroByteFiles)
{
    TempTree t;
    t.mkdir(QStringLiteral("only-folders/x/y/z"));
    t.mkdir(QStringLiteral("only-folders/w"));
    t.file(QStringLiteral("zeros/a"), 0);
    t.file(QStringLiteral("zeros/b"), 0);
    auto tree = scanInto(t.path(), 1);
    AnalysisLib lib;
    lib.ReadFoldersForTreeExplorer(tree->root()->SubList());
    const TFoldInfo* onlyFolders = findNode(tree->root(), QStringLiteral("only-folders"));
    EXPECT_EQ(onlyFolders->cSize(), 0u);
    EXPECT_EQ(onlyFolders->cFiles(), 0);
    EXPECT_EQ(onlyFolders->cFolders(), 4);

    const TFoldInfo* zeros = findNode(tree->root(), QStringLiteral("zeros"));
    lib.ReadFoldersForTreeExplorer(zeros->SubList());
    for (const TFoldInfo* file : zeros->SubList()) {
        EXPECT_TRUE(file->bPerCalculated());
        EXPECT_EQ(file->fPercent(), 0.0f);
    }
    // An empty list changes nothing and does not fail.
    lib.ReadFoldersForTreeExplorer({});
    TFolderInfo none;
    AnalysisLib::ReadFileFolderCountAndSize({}, none);
    EXPECT_EQ(none.cFiles, 0);
}

TEST(TreeTotals, SharesOfOneListAddUpToAHundredAndAreLatched)
{
    TempTree t;
    t.file(QStringLiteral("a.bin"), 333);
    t.file(QStringLiteral("b/c.bin"), 333);
    t.file(QStringLiteral("b/d.bin"), 1);
    t.file(QStringLiteral("e.bin"), 777);
    auto tree = scanInto(t.path(), 1);
    AnalysisLib lib;
    const auto list = tree->root()->SubList();
    lib.ReadFoldersForTreeExplorer(list);
    const double sum = std::accumulate(list.begin(), list.end(), 0.0,
                                       [](double s, const TFoldInfo* n) { return s + n->fPercent(); });
    EXPECT_NEAR(sum, 100.0, 1e-3);

    // A node keeps the share of the first list it was computed in.
    TFoldInfo* b = findNode(tree->root(), QStringLiteral("b"));
    const float first = b->fPercent();
    lib.ReadFoldersForTreeExplorer(std::span<TFoldInfo* const>(&b, 1));
    EXPECT_EQ(b->fPercent(), first);
}

TEST(TreeTotals, RemovalSubtractsOneFolderAndItsSizeFromEveryAncestor)
{
    TempTree t;
    for (int i = 0; i < 10; ++i)
        t.file(QStringLiteral("top/mid/victim/f%1").arg(i), 100);
    t.file(QStringLiteral("top/mid/keep.txt"), 5);
    auto tree = scanInto(t.path(), 1);
    TFolderScanner scanner;
    scanner.ReadFilesCountAndSizeForRoot(tree->root());
    TFoldInfo* mid = findNode(tree->root(), QStringLiteral("top/mid"));
    AnalysisLib().ReadFoldersForTreeExplorer(mid->SubList());
    AnalysisLib().ReadFoldersForTreeExplorer(mid->PFoldInfo()->SubList());
    TFoldInfo* victim = findNode(tree->root(), QStringLiteral("top/mid/victim"));
    TFoldInfo* top = mid->PFoldInfo();
    ASSERT_EQ(mid->cSize(), 1005u);
    const auto rootFiles = tree->root()->cFiles();
    const auto rootFolders = tree->root()->cFolders();

    ASSERT_TRUE(TFolderScanner::takeNodeOutOfTree(victim));
    for (const TFoldInfo* ancestor : {static_cast<const TFoldInfo*>(mid), static_cast<const TFoldInfo*>(top),
                                      static_cast<const TFoldInfo*>(tree->root())})
        EXPECT_EQ(ancestor->cSize(), 5u);
    EXPECT_EQ(mid->cFolders(), 0);
    EXPECT_EQ(mid->cFiles(), 11); // counts drop by one folder only, not by its content
    EXPECT_EQ(tree->root()->cFolders(), rootFolders - 1);
    EXPECT_EQ(tree->root()->cFiles(), rootFiles);
    EXPECT_EQ(childNames(mid), QStringList{QStringLiteral("keep.txt")});
    // Taking it out again changes nothing: no size leaves the ancestors twice.
    EXPECT_FALSE(TFolderScanner::takeNodeOutOfTree(victim));
    EXPECT_EQ(tree->root()->cSize(), 5u);
    EXPECT_EQ(tree->root()->cFolders(), rootFolders - 1);
    EXPECT_FALSE(TFolderScanner::takeNodeOutOfTree(tree->root()));

    // The latch keeps the corrected values.
    AnalysisLib().ReadFoldersForTreeExplorer(top->SubList());
    EXPECT_EQ(mid->cSize(), 5u);

    // A file counts as one file.
    TFoldInfo* keep = mid->child(0);
    ASSERT_TRUE(TFolderScanner::takeNodeOutOfTree(keep));
    EXPECT_EQ(mid->cFiles(), 10);
    EXPECT_EQ(tree->root()->cSize(), 0u);
}

TEST(TreeTotals, AllFoldersListIsPreOrderWithoutApplications)
{
    TempTree t;
    t.file(QStringLiteral("a/a1/x.txt"), 4);
    t.mkdir(QStringLiteral("a/a2"));
    t.file(QStringLiteral("b/y.txt"), 6);
    t.file(QStringLiteral("Tool.app/Contents/Info.plist"), 1);
    t.mkdir(QStringLiteral("Tool.app/Contents/Resources"));
    auto tree = scanInto(t.path(), 1);
    std::vector<TAllFoldInfo> rows;
    LoadAllFolders(0, tree->root()->SubList(), rows);

    // Expected pre-order, from the tree's own child order.
    QStringList expected;
    std::function<void(const TFoldInfo*)> walk = [&](const TFoldInfo* node) {
        for (const TFoldInfo* child : node->SubList()) {
            if (!child->isFolder() || child->isApp())
                continue;
            expected.append(child->sPath());
            walk(child);
        }
    };
    walk(tree->root());
    QStringList got;
    for (const TAllFoldInfo& row : rows)
        got.append(row.sPath());
    EXPECT_EQ(got, expected);
    ASSERT_EQ(rows.size(), 4u);
    for (const TAllFoldInfo& row : rows) {
        EXPECT_EQ(row.Size, row.foldInfo->cSize());
        if (row.sName() == QLatin1String("a")) {
            EXPECT_EQ(row.Size, 4u);
            EXPECT_EQ(row.Files, 1);
            EXPECT_EQ(row.Folders, 2);
        }
    }
}

namespace {

void expectSameTotals(TFoldInfo* a, TFoldInfo* b)
{
    ASSERT_EQ(a->childCount(), b->childCount()) << a->sPath().toStdString();
    EXPECT_EQ(a->cSize(), b->cSize()) << a->sPath().toStdString();
    EXPECT_EQ(a->cASize(), b->cASize()) << a->sPath().toStdString();
    EXPECT_EQ(a->cFiles(), b->cFiles()) << a->sPath().toStdString();
    EXPECT_EQ(a->cFolders(), b->cFolders()) << a->sPath().toStdString();
    EXPECT_TRUE(b->bRead() || b->isRoot()) << b->sPath().toStdString();
    // Both trees were read from the same folders, so children come in the same order.
    for (std::size_t i = 0; i < a->childCount(); ++i) {
        ASSERT_EQ(a->child(i)->nameBytes(), b->child(i)->nameBytes());
        expectSameTotals(a->child(i), b->child(i));
    }
}

void readEveryList(TFoldInfo* folder)
{
    AnalysisLib().ReadFoldersForTreeExplorer(folder->SubList());
    for (TFoldInfo* child : folder->SubList())
        readEveryList(child);
}

} // namespace

// The scan thread's single pass over a finished tree gives every node what the per-list
// computations give it when views reach the lists one by one after the root's totals,
// applications included (one directly under the root keeps counts of 0, deeper ones count
// their content).
TEST(TreeTotals, OnePassOverAFinishedTreeMatchesThePerListTotals)
{
    TempTree t;
    t.file(QStringLiteral("one.bin"), 1000);
    t.file(QStringLiteral("a/b/c.txt"), 10);
    t.mkdir(QStringLiteral("a/empty/deeper"));
    t.file(QStringLiteral("a/x.bin"), 7);
    t.file(QStringLiteral("Viewer.app/Contents/Info.plist"), 5);
    t.file(QStringLiteral("Viewer.app/Contents/bin/viewer"), 95);
    t.file(QStringLiteral("a/Tool.app/Contents/Info.plist"), 3);
    auto perList = scanInto(t.path(), 1);
    auto onePass = scanInto(t.path(), 1);

    TFolderScanner().ReadFilesCountAndSizeForRoot(perList->root());
    readEveryList(perList->root());
    AnalysisLib::totalFinishedTree(onePass->root());
    TFolderScanner().ReadFilesCountAndSizeForRoot(onePass->root());

    expectSameTotals(perList->root(), onePass->root());
    EXPECT_EQ(findNode(onePass->root(), QStringLiteral("Viewer.app"))->cFiles(), 0);
    EXPECT_EQ(findNode(onePass->root(), QStringLiteral("a/Tool.app"))->cFiles(), 1);
    EXPECT_EQ(onePass->root()->cSize(), 1120u);
}

// The pass keeps its own stack: a chain of folders far deeper than the thread's stack
// would allow for recursion is totalled.
TEST(TreeTotals, OnePassTotalsAVeryDeepTree)
{
    ScanTree tree(QStringLiteral("/deep"), QStringLiteral("deep"));
    CatalogInfo folderInfo;
    folderInfo.isDirectory = true;
    CatalogInfo fileInfo;
    fileInfo.logicalSize = 3;
    fileInfo.physicalSize = 4096;
    constexpr int kDepth = 200000;
    TFoldInfo* parent = tree.root();
    std::vector<TFoldInfo*> chain;
    for (int level = 0; level < kDepth; ++level) {
        TFoldInfo* folder = TFoldInfo::create(tree.arena(), "d", parent, folderInfo, true);
        TFoldInfo* file = TFoldInfo::create(tree.arena(), "f", parent, fileInfo, false);
        TFoldInfo* const children[] = {folder, file};
        parent->setSubList(tree.arena(), children, 2);
        chain.push_back(folder);
        parent = folder;
    }
    AnalysisLib::totalFinishedTree(tree.root());
    EXPECT_EQ(chain.front()->cSize(), 3u * (kDepth - 1));
    EXPECT_EQ(chain.front()->cASize(), 4096u * (kDepth - 1));
    EXPECT_EQ(chain.front()->cFiles(), kDepth - 1);
    EXPECT_EQ(chain.front()->cFolders(), kDepth - 1);
    EXPECT_EQ(chain.back()->cSize(), 0u);
    EXPECT_TRUE(chain.back()->bRead());
}
