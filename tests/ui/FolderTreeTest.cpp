// The folder tree pane against the controller: rows, sizes, expansion, empty folders.

#include "UiFixture.h"

#include "ui/FolderTreeModel.h"
#include "ui/FolderTreeView.h"
#include "ui/StatusBarPanel.h"
#include "ui/VolumeTableModel.h"

#include <QAbstractItemModelTester>
#include <QTableView>

namespace {

// big/ (sub1 3000 B, sub2 1000 B), mid/ (2000 B), empties/ (two empty folders), a file.
void makeTree(const TestSupport::TempTree& tree)
{
    tree.file(QStringLiteral("big/sub1/a.bin"), 3000);
    tree.file(QStringLiteral("big/sub2/b.bin"), 1000);
    tree.file(QStringLiteral("mid/c.txt"), 2000);
    tree.mkdir(QStringLiteral("empties/e1"));
    tree.mkdir(QStringLiteral("empties/e2"));
    tree.file(QStringLiteral("small.txt"), 10);
}

// Checks every row the view can reach under `parent` against the controller's own answer,
// descending `depth` levels.
void expectRowsMatchController(AppDelegate& app, FolderTreeModel& model, const QModelIndex& parent, int depth)
{
    TFoldInfo* node = FolderTreeModel::nodeAt(parent);
    const std::vector<TFoldInfo*> expected = app.folderTreeChildren(node);
    ASSERT_EQ(model.rowCount(parent), int(expected.size())) << (node ? node->sPath().toStdString() : "roots");
    for (int row = 0; row < int(expected.size()); ++row) {
        const QModelIndex name = model.index(row, FolderTreeModel::NameColumn, parent);
        const QModelIndex size = model.index(row, FolderTreeModel::SizeColumn, parent);
        TFoldInfo* child = expected[std::size_t(row)];
        EXPECT_EQ(FolderTreeModel::nodeAt(name), child);
        EXPECT_EQ(name.data().toString(), app.folderTreeText(child, QStringLiteral("name")));
        EXPECT_EQ(size.data().toString(), app.folderTreeText(child, QStringLiteral("size")));
        EXPECT_EQ(model.hasChildren(name), app.isFolderTreeItemExpandable(child)) << child->sPath().toStdString();
        EXPECT_EQ(model.parent(name), parent.sibling(parent.row(), 0));
        EXPECT_FALSE(name.data(Qt::DecorationRole).value<QIcon>().isNull());
        if (depth > 0)
            expectRowsMatchController(app, model, name, depth - 1);
    }
}

QStringList childNames(FolderTreeModel& model, const QModelIndex& parent)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row)
        names << model.index(row, 0, parent).data().toString();
    return names;
}

void setShowEmptyFolders(bool on)
{
    SettingsStore::setValue(QStringLiteral("showEmptyFolders"), on);
    GeneralLib::readRegistry();
}

} // namespace

class FolderTree : public UiFixture {};

TEST_F(FolderTree, RowsSizesAndExpandabilityFollowTheController)
{
    makeTree(tree_);
    setShowEmptyFolders(false);
    TFoldInfo* root = scanTree();
    ASSERT_NE(root, nullptr);
    FolderTreeModel& model = *window().folderTree()->folderModel();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    expectRowsMatchController(app(), model, {}, 3);
    const QModelIndex rootIndex = model.index(0, 0);
    EXPECT_EQ(FolderTreeModel::nodeAt(rootIndex), root);
    EXPECT_TRUE(model.index(0, 1).data().toString().isEmpty()) << "a root shows no size";
    // Largest first; the empty folder is cut off although its parent can expand.
    EXPECT_EQ(childNames(model, rootIndex), (QStringList{QStringLiteral("big"), QStringLiteral("mid")}));
    const QModelIndex big = model.index(0, 0, rootIndex);
    EXPECT_EQ(childNames(model, big), (QStringList{QStringLiteral("sub1"), QStringLiteral("sub2")}));
    EXPECT_FALSE(model.hasChildren(model.index(1, 0, rootIndex))) << "mid holds no folder";
    // The new root is selected and open, as after every scan.
    EXPECT_EQ(window().folderTree()->selectedNode(), root);
    EXPECT_TRUE(window().folderTree()->isExpanded(rootIndex));
}

TEST_F(FolderTree, EmptyFoldersShowOnlyWithTheSetting)
{
    makeTree(tree_);
    setShowEmptyFolders(true);
    TFoldInfo* root = scanTree();
    ASSERT_NE(root, nullptr);
    FolderTreeModel& model = *window().folderTree()->folderModel();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QModelIndex rootIndex = model.indexForNode(root);
    EXPECT_EQ(childNames(model, rootIndex),
              (QStringList{QStringLiteral("big"), QStringLiteral("mid"), QStringLiteral("empties")}));
    const QModelIndex empties = model.index(2, 0, rootIndex);
    EXPECT_TRUE(model.hasChildren(empties));
    EXPECT_EQ(model.rowCount(empties), 2);
    expectRowsMatchController(app(), model, {}, 3);

    setShowEmptyFolders(false);
    model.reload();
    EXPECT_EQ(childNames(model, model.indexForNode(root)), (QStringList{QStringLiteral("big"), QStringLiteral("mid")}));
    TFoldInfo* emptiesNode = childNamed(root, QStringLiteral("empties"));
    ASSERT_NE(emptiesNode, nullptr);
    EXPECT_FALSE(model.indexForNode(emptiesNode).isValid());
    // Still expandable: the control shows though nothing is listed under it.
    EXPECT_TRUE(app().isFolderTreeItemExpandable(emptiesNode));
}

TEST_F(FolderTree, SelectingAFolderSelectsItForTheReportsAndStatusBar)
{
    makeTree(tree_);
    TFoldInfo* root = scanTree();
    ASSERT_NE(root, nullptr);
    FolderTreeView* view = window().folderTree();
    TFoldInfo* big = childNamed(root, QStringLiteral("big"));
    const QModelIndex bigIndex = view->folderModel()->indexForNode(big);
    ASSERT_TRUE(bigIndex.isValid());
    view->selectionModel()->setCurrentIndex(bigIndex, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(app().selectedFolder(), big);
    EXPECT_EQ(window().statusPanel()->pathText(), big->sPath());
    EXPECT_EQ(window().statusPanel()->sizeText(), app().statusBarSize());
    EXPECT_EQ(window().statusPanel()->filesText(), app().statusBarFiles());

    // Collapsing the root while a folder under it is selected selects the root.
    view->collapse(view->folderModel()->indexForNode(root));
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(app().selectedFolder(), root);
    EXPECT_EQ(view->selectedNode(), root);
}

TEST_F(FolderTree, VolumeTableListsTheControllersVolumes)
{
    launch();
    std::vector<DriveNode> drives(2);
    drives[0].name = QStringLiteral("System");
    drives[0].path = QStringLiteral("/");
    drives[0].size = 100'000'000'000;
    drives[0].sizeFree = 25'000'000'000;
    drives[0].sizeUsed = 75'000'000'000;
    drives[1].name = QStringLiteral("Data");
    drives[1].path = tree_.path();
    drives[1].size = 2'000'000'000;
    drives[1].sizeFree = 2'000'000'000;
    drives[1].sizeUsed = 0;
    app().setDiskDrives(drives);
    QAbstractItemModel* model = window().volumeTable()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, VolumeTableModel::DriveColumn).data().toString(), QStringLiteral("System"));
    EXPECT_DOUBLE_EQ(model->index(0, VolumeTableModel::UsageColumn).data(VolumeTableModel::UsagePercentRole).toDouble(), 75.0);
    EXPECT_EQ(model->index(0, VolumeTableModel::UsageColumn).data().toString(), QStringLiteral("75 %"));
    EXPECT_DOUBLE_EQ(model->index(1, VolumeTableModel::UsageColumn).data(VolumeTableModel::UsagePercentRole).toDouble(), 0.0);
    EXPECT_FALSE(model->index(0, VolumeTableModel::CapacityColumn).data().toString().isEmpty());
    EXPECT_NE(model->index(0, VolumeTableModel::FreeColumn).data().toString(),
              model->index(0, VolumeTableModel::CapacityColumn).data().toString());

    // A double-click scans the volume (readable, so no permission question).
    tree_.file(QStringLiteral("x/y.bin"), 500);
    QTableView* table = window().volumeTable();
    const QRect cell = table->visualRect(model->index(1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(waitForIdle());
    ASSERT_NE(app().selectedFolder(), nullptr);
    EXPECT_EQ(app().selectedFolder()->sPath(), tree_.path());
}
