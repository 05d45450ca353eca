#include "app/AppDelegateFixture.h"
#include "app/FolderTreeRows.h"
#include "scan/AnalysisLib.h"
#include "scan/ScanTree.h"
#include "scan/TFolderScanner.h"
#include "settings/GeneralLib.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace {

// What a view holds of the folder tree, kept only through the controller's change signals
// (as an item model over it would be), checking at each signal that the controller still
// answers what the view was told before it.
class MirrorView {
public:
    explicit MirrorView(AppDelegate& app) : app_(app)
    {
        QObject::connect(&app, &AppDelegate::folderRowsAboutToBeRemoved, &app, [this](TFoldInfo* p, int first, int last) {
            expectStillAnswers(p);
            EXPECT_TRUE(first >= 0 && first <= last && last < int(rows_[p].size()));
        });
        QObject::connect(&app, &AppDelegate::folderRowsRemoved, &app, [this](TFoldInfo* p, int first, int last) {
            std::vector<TFoldInfo*>& rows = rows_[p];
            for (int r = first; r <= last; ++r)
                forget(rows[std::size_t(r)]);
            rows.erase(rows.begin() + first, rows.begin() + last + 1);
            expectStillAnswers(p);
            ++removals;
        });
        QObject::connect(&app, &AppDelegate::folderRowsAboutToBeReordered, &app,
                         [this](TFoldInfo* p) { expectStillAnswers(p); });
        QObject::connect(&app, &AppDelegate::folderRowsReordered, &app, [this](TFoldInfo* p) {
            std::vector<TFoldInfo*>& rows = rows_[p];
            const std::set<TFoldInfo*> before(rows.begin(), rows.end());
            rows = app_.folderTreeChildren(p);
            EXPECT_EQ(std::set<TFoldInfo*>(rows.begin(), rows.end()), before) << "a re-sort keeps the same rows";
            ++reorders;
        });
        QObject::connect(&app, &AppDelegate::folderTotalsChanged, &app, [this](TFoldInfo* n) { totalsChanged.insert(n); });
        QObject::connect(&app, &AppDelegate::folderTreeReloaded, &app, [this] { ++resets; });
    }

    // Opens every folder the tree shows.
    void expandAll(TFoldInfo* parent = nullptr)
    {
        std::vector<TFoldInfo*>& rows = rows_[parent];
        rows.clear();
        for (int r = 0; r < app_.folderTreeRowCount(parent); ++r)
            rows.push_back(app_.folderTreeChild(parent, r));
        for (TFoldInfo* node : rows)
            expandAll(node);
    }

    void expectStillAnswers(TFoldInfo* parent) const
    {
        const auto it = rows_.find(parent);
        ASSERT_NE(it, rows_.end());
        ASSERT_EQ(app_.folderTreeRowCount(parent), int(it->second.size()));
        for (std::size_t r = 0; r < it->second.size(); ++r) {
            EXPECT_EQ(app_.folderTreeChild(parent, int(r)), it->second[r]);
            EXPECT_EQ(app_.folderTreeRow(it->second[r]), int(r));
        }
    }

    void forget(TFoldInfo* node)
    {
        const auto it = rows_.find(node);
        if (it == rows_.end())
            return;
        const std::vector<TFoldInfo*> children = it->second;
        rows_.erase(it);
        for (TFoldInfo* child : children)
            forget(child);
    }

    std::map<TFoldInfo*, std::vector<TFoldInfo*>> rows_;
    std::set<TFoldInfo*> totalsChanged;
    int removals = 0, reorders = 0, resets = 0;

private:
    AppDelegate& app_;
};

QString relativePath(const TFoldInfo* node)
{
    QString path;
    for (; node->PFoldInfo(); node = node->PFoldInfo())
        path = path.isEmpty() ? node->sName() : node->sName() + QLatin1Char('/') + path;
    return path;
}

TFoldInfo* findRelative(TFoldInfo* root, const QString& relative)
{
    TFoldInfo* node = root;
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        node = child(node, part);
        if (!node)
            return nullptr;
    }
    return node;
}

void allNodes(TFoldInfo* node, std::vector<TFoldInfo*>& out)
{
    for (TFoldInfo* c : node->SubList()) {
        out.push_back(c);
        allNodes(c, out);
    }
}

class FolderTreeRowsTest : public AppDelegateFixture {
protected:
    // A random tree three levels deep: folders of random files (some empty), so that
    // removals shrink folders below their siblings and empty some of them.
    void makeRandomTree(std::mt19937& rng, const QString& folder, int depth)
    {
        std::uniform_int_distribution<int> count(0, 4), size(0, 5000), coin(0, 3);
        const int files = count(rng);
        for (int i = 0; i < files; ++i)
            tree_.file(folder + QStringLiteral("f%1.bin").arg(i), coin(rng) == 0 ? 0 : size(rng));
        if (depth == 3)
            return;
        const int folders = depth == 0 ? 4 : count(rng);
        for (int i = 0; i < folders; ++i) {
            const QString sub = folder + QStringLiteral("d%1_%2/").arg(depth).arg(i);
            tree_.mkdir(sub);
            makeRandomTree(rng, sub, depth + 1);
        }
    }

    // The edited tree against a fresh scan of the disk: every node's sizes, and every
    // shown list the view holds (same rows, same sizes in the same order). Counts are not
    // compared: taking a folder out subtracts one folder from its ancestors' counts, not
    // what it held.
    void expectMatchesFreshScan(const MirrorView& view, TFoldInfo* root)
    {
        ScanTree fresh(tree_.path(), QStringLiteral("fresh"));
        TFolderScanner scanner;
        scanner.setThreadCount(1);
        scanner.setExclusionList(std::make_shared<const ExclusionList>());
        ASSERT_TRUE(scanner.scanFolder(fresh.root()));
        AnalysisLib::totalFinishedTree(fresh.root());
        scanner.ReadFilesCountAndSizeForRoot(fresh.root());

        std::vector<TFoldInfo*> edited{root};
        allNodes(root, edited);
        std::vector<TFoldInfo*> freshNodes{fresh.root()};
        allNodes(fresh.root(), freshNodes);
        ASSERT_EQ(edited.size(), freshNodes.size());
        for (TFoldInfo* node : edited) {
            const TFoldInfo* other = findRelative(fresh.root(), relativePath(node));
            ASSERT_NE(other, nullptr) << relativePath(node).toStdString();
            EXPECT_EQ(node->cSize(), other->cSize()) << relativePath(node).toStdString();
            EXPECT_EQ(node->cASize(), other->cASize()) << relativePath(node).toStdString();
        }
        for (const auto& [parent, rows] : view.rows_) {
            if (!parent)
                continue;
            const TFoldInfo* other = findRelative(fresh.root(), relativePath(parent));
            ASSERT_NE(other, nullptr);
            const std::vector<TFoldInfo*> expected = FolderTreeRows::shownChildren(other, false);
            ASSERT_EQ(rows.size(), expected.size()) << relativePath(parent).toStdString();
            std::set<QString> shownNames, expectedNames;
            for (std::size_t r = 0; r < rows.size(); ++r) {
                EXPECT_EQ(rows[r]->cSize(), expected[r]->cSize()) << relativePath(parent).toStdString();
                shownNames.insert(rows[r]->sName());
                expectedNames.insert(expected[r]->sName());
            }
            EXPECT_EQ(shownNames, expectedNames) << relativePath(parent).toStdString();
        }
    }
};

} // namespace

// Random removals, as file actions make them (on disk, then out of the tree): a view kept
// only through the fine signals holds exactly the controller's rows, which match a fresh
// scan of what is left; the view is never reset; every shown row whose totals changed was
// announced.
TEST_F(FolderTreeRowsTest, RandomRemovalsKeepViewsInStepWithTheDisk)
{
    std::mt19937 rng(20261208);
    makeRandomTree(rng, QString(), 0);
    TFoldInfo* root = scanTree();
    ASSERT_NE(root, nullptr);
    MirrorView view(app_);
    view.expandAll();
    expectMatchesFreshScan(view, root);

    for (int step = 0; step < 30; ++step) {
        std::vector<TFoldInfo*> nodes;
        allNodes(root, nodes);
        if (nodes.empty())
            break;
        // One to three nodes; a node inside another chosen one is skipped by the controller.
        std::vector<TFoldInfo*> chosen;
        const int n = 1 + int(rng() % 3);
        for (int i = 0; i < n; ++i)
            chosen.push_back(nodes[rng() % nodes.size()]);

        std::map<TFoldInfo*, ShownTotals> before;
        for (const auto& [parent, rows] : view.rows_)
            for (TFoldInfo* node : rows)
                before[node] = ShownTotals::of(node);
        for (TFoldInfo* node : chosen) {
            const QString path = node->sPath();
            if (node->isFolder())
                QDir(path).removeRecursively();
            else
                QFile::remove(path);
        }
        view.totalsChanged.clear();
        app_.removeItemsFromScannedTree(chosen);

        for (const auto& [parent, rows] : view.rows_) {
            view.expectStillAnswers(parent);
            for (TFoldInfo* node : rows) {
                if (!(ShownTotals::of(node) == before[node])) {
                    EXPECT_TRUE(view.totalsChanged.count(node)) << relativePath(node).toStdString();
                }
            }
        }
        expectMatchesFreshScan(view, root);
        if (HasFailure())
            FAIL() << "at step " << step;
    }
    EXPECT_EQ(view.resets, 0);
    EXPECT_GT(view.removals, 0);
    EXPECT_GT(view.reorders, 0);
}

// Taking a folder out with the remove button and taking a whole root away are fine
// changes too; a root's row goes from the top level.
TEST_F(FolderTreeRowsTest, RemoveButtonTakesRowsOutWithoutAReset)
{
    tree_.file(QStringLiteral("big/a.bin"), 3000);
    tree_.file(QStringLiteral("small/b.bin"), 10);
    TFoldInfo* root = scanTree();
    TestSupport::TempTree other;
    other.file(QStringLiteral("x/y.bin"), 5);
    app_.setParsingPath(other.path());
    app_.waitForScanToFinish();
    MirrorView view(app_);
    view.expandAll();

    TFoldInfo* big = child(root, QStringLiteral("big"));
    app_.outlineViewSelectionDidChange(big);
    ASSERT_EQ(app_.folderTreeRow(big), 0);
    app_.btnRemoveFolderFromScanTreeTapped();
    EXPECT_EQ(app_.folderTreeRowCount(root), 1);
    EXPECT_EQ(view.rows_[root], std::vector<TFoldInfo*>{child(root, QStringLiteral("small"))});
    EXPECT_TRUE(view.totalsChanged.count(root));
    EXPECT_EQ(app_.selectedFolder(), root);

    app_.btnRemoveFolderFromScanTreeTapped(); // the root itself
    EXPECT_EQ(app_.folderTreeRowCount(nullptr), 1);
    EXPECT_EQ(view.rows_[nullptr].size(), 1u);
    EXPECT_EQ(view.rows_.count(root), 0u);
    EXPECT_EQ(view.resets, 0);
    EXPECT_EQ(view.removals, 2);
}

// The row look-ups of the applications outline follow its list when it is re-sorted.
TEST_F(FolderTreeRowsTest, ApplicationsOutlineRowsFollowTheirList)
{
    tree_.file(QStringLiteral("A.app/Contents/Info.plist"), 10);
    tree_.file(QStringLiteral("B.app/Contents/Info.plist"), 500);
    tree_.file(QStringLiteral("sub/C.app/Contents/Info.plist"), 90);
    scanTree();
    app_.reportButtonTapped(ReportIndex::Applications);
    ASSERT_EQ(app_.appsOutlineRowCount(nullptr), 3);
    for (const bool ascending : {true, false}) {
        app_.reports().sortReport(ReportIndex::Applications, SortDescriptor{QStringLiteral("cSize"), ascending});
        for (int row = 0; row < 3; ++row) {
            TFoldInfo* app = app_.appsOutlineChild(nullptr, row);
            ASSERT_NE(app, nullptr);
            EXPECT_EQ(app_.appsOutlineRow(app), row);
        }
        EXPECT_EQ(app_.appsOutlineChild(nullptr, 0)->cSize(), ascending ? 10u : 500u);
    }
    TFoldInfo* first = app_.appsOutlineChild(nullptr, 0);
    EXPECT_EQ(app_.appsOutlineRowCount(first), int(first->childCount()));
    EXPECT_EQ(app_.appsOutlineChild(first, 0), first->child(0));
    EXPECT_EQ(app_.appsOutlineChild(nullptr, 3), nullptr);
    EXPECT_EQ(app_.appsOutlineRow(first->child(0)), -1);
}
