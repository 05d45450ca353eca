#include "app/AppDelegateFixture.h"
#include "app/AppDelegate.h"
#include "app/ScriptedUserInterface.h"
#include "common/TestSupport.h"
#include "fileops/FailingSystemCalls.h"
#include "settings/ExclusionList.h"
#include "settings/GeneralLib.h"
#include "settings/Paths.h"
#include "scan/AnalysisLib.h"
#include "scan/ScanTree.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using TestSupport::TempTree;

namespace {

QStringList zipEntries(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    unzip.waitForFinished();
    QStringList names = QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names.sort();
    return names;
}

class BulkActions : public AppDelegateFixture {
protected:
    void SetUp() override
    {
        AppDelegateFixture::SetUp();
        tree_.file(QStringLiteral("work/a.txt"), 100);
        tree_.file(QStringLiteral("work/b.txt"), 200);
        tree_.file(QStringLiteral("work/c.txt"), 400);
        tree_.file(QStringLiteral("work/report.txt"), 10);
        tree_.file(QStringLiteral("work/Photos/one.jpg"), 30);
        tree_.file(QStringLiteral("work/Photos/trip/two.jpg"), 40);
        tree_.file(QStringLiteral("keep.bin"), 1000);
        root_ = scanTree();
        work_ = child(root_, QStringLiteral("work"));
        app_.outlineViewSelectionDidChange(work_);
        app_.btnFileExplorerTapped();
    }

    void check(const QStringList& names)
    {
        for (const QString& name : names)
            app_.btnCheckBoxFileExplorerTableTapped(child(work_, name), true);
    }

    TFoldInfo* root_ = nullptr;
    TFoldInfo* work_ = nullptr;
};

} // namespace

TEST_F(BulkActions, DeleteWithOneFailureKeepsAndUnchecksTheFailedNode)
{
    check({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    TFoldInfo* b = child(work_, QStringLiteral("b.txt"));
    QFile::remove(tree_.at(QStringLiteral("work/b.txt"))); // vanished since the scan: trashing it fails
    ui_.answers = {true};
    app_.btnDeleteFilesTapped();

    EXPECT_EQ(ui_.alerts.size(), 1);
    EXPECT_EQ(child(work_, QStringLiteral("a.txt")), nullptr);
    EXPECT_EQ(child(work_, QStringLiteral("c.txt")), nullptr);
    ASSERT_EQ(child(work_, QStringLiteral("b.txt")), b);
    EXPECT_EQ(b->state(), 0);
    EXPECT_EQ(work_->cSize(), 280u); // 780 - 100 - 400
    EXPECT_EQ(root_->cSize(), 1280u);
    EXPECT_EQ(root_->cFiles(), 5);
    EXPECT_TRUE(QFile::exists(Paths::trashFiles() + QStringLiteral("/a.txt")));
    EXPECT_TRUE(QFile::exists(Paths::trashFiles() + QStringLiteral("/c.txt")));
    EXPECT_EQ(app_.selectedFolder(), work_);
    EXPECT_EQ(app_.reports().arrFilesExplorer().size(), work_->childCount());
}

TEST_F(BulkActions, DeclinedOrEmptyCommandsTouchNothing)
{
    check({QStringLiteral("a.txt")});
    ui_.answers = {false};
    app_.btnDeleteFilesTapped();
    EXPECT_TRUE(QFile::exists(tree_.at(QStringLiteral("work/a.txt"))));
    app_.performSelectAllOrUnSelect(0);
    EXPECT_FALSE(app_.fileActionButtonsEnabled());
    ui_.answers = {true};
    app_.btnDeleteFilesTapped();
    EXPECT_EQ(work_->childCount(), 5u);
    EXPECT_TRUE(ui_.alerts.isEmpty());
    // A cancelled destination chooser runs nothing.
    check({QStringLiteral("a.txt")});
    app_.btnCopyFilesTapped();
    EXPECT_EQ(ui_.questions.size(), 2);
}

TEST_F(BulkActions, ContextMenuTrashTakesCheckedRowsOrElseTheClickedNode)
{
    TFoldInfo* report = child(work_, QStringLiteral("report.txt"));
    ASSERT_TRUE(app_.validateMenuItem(AppDelegate::MenuCommand::MoveToTrash, report));
    // Re-sorting the explorer between opening the menu and choosing the command does not
    // change the node the command acts on.
    ASSERT_TRUE(app_.reports().sortReport(ReportIndex::FileExplorer, SortDescriptor{QStringLiteral("sName"), false}));
    ui_.answers = {true};
    app_.moveToTrashMenu(report);
    EXPECT_EQ(child(work_, QStringLiteral("report.txt")), nullptr);
    EXPECT_EQ(work_->childCount(), 4u);

    check({QStringLiteral("a.txt")});
    ui_.answers = {true};
    app_.moveToTrashMenu(app_.reports().arrFilesExplorer().front());
    EXPECT_EQ(child(work_, QStringLiteral("a.txt")), nullptr);
    EXPECT_EQ(work_->childCount(), 3u); // the clicked row was left alone
}

TEST_F(BulkActions, MenuOnAProtectedNodeOffersOnlyRevealAndValidationChangesNothing)
{
    TFoldInfo* a = child(work_, QStringLiteral("a.txt"));
    a->setIsNonDeleteableFile(true);
    const NodeList before = app_.reports().arrFilesExplorer();
    EXPECT_TRUE(app_.validateMenuItem(AppDelegate::MenuCommand::ShowInFinder, a));
    EXPECT_FALSE(app_.validateMenuItem(AppDelegate::MenuCommand::MoveToTrash, a));
    EXPECT_FALSE(app_.validateMenuItem(AppDelegate::MenuCommand::Open, a));
    EXPECT_TRUE(app_.validateMenuItem(AppDelegate::MenuCommand::AppCommand, a));
    EXPECT_FALSE(app_.validateMenuItem(AppDelegate::MenuCommand::ShowInFinder, nullptr));
    EXPECT_EQ(app_.reports().arrFilesExplorer(), before);

    // The trash command itself refuses the protected node, whatever the menu said.
    ui_.answers = {true};
    app_.moveToTrashMenu(a);
    EXPECT_EQ(child(work_, QStringLiteral("a.txt")), a);

    // A node the shown report does not list gets no command.
    app_.btnFileSizeTapped();
    EXPECT_FALSE(app_.validateMenuItem(AppDelegate::MenuCommand::ShowInFinder, before.front()));
}

TEST_F(BulkActions, CopyKeepsTreeAndChecksMoveTakesNodesOut)
{
    TempTree dest;
    dest.file(QStringLiteral("a.txt"), 1);
    check({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    ui_.folders = {dest.path()};
    ui_.answers = {true};
    app_.btnCopyFilesTapped();
    EXPECT_TRUE(QFile::exists(dest.at(QStringLiteral("a 1.txt"))));
    EXPECT_TRUE(QFile::exists(dest.at(QStringLiteral("b.txt"))));
    EXPECT_EQ(child(work_, QStringLiteral("a.txt"))->state(), 1);
    EXPECT_EQ(work_->childCount(), 5u);

    ui_.folders = {dest.path()};
    ui_.answers = {true};
    app_.btnMoveFilesTapped();
    EXPECT_FALSE(QFile::exists(tree_.at(QStringLiteral("work/a.txt"))));
    EXPECT_TRUE(QFile::exists(dest.at(QStringLiteral("a 2.txt"))));
    EXPECT_EQ(child(work_, QStringLiteral("a.txt")), nullptr);
    EXPECT_EQ(child(work_, QStringLiteral("b.txt")), nullptr);
    EXPECT_EQ(work_->cSize(), 480u);
}

TEST_F(BulkActions, ZipNamesTheArchiveAfterItsOnlyNodeAndExpandsFolders)
{
    TempTree dest;
    check({QStringLiteral("report.txt")});
    ui_.folders = {dest.path()};
    ui_.answers = {true};
    app_.btnZipFilesTapped();
    EXPECT_EQ(zipEntries(dest.at(QStringLiteral("report.zip"))), QStringList{QStringLiteral("report.txt")});

    app_.performSelectAllOrUnSelect(0);
    check({QStringLiteral("Photos")});
    ui_.folders = {dest.path()};
    ui_.answers = {true};
    app_.btnZipFilesTapped();
    EXPECT_EQ(zipEntries(dest.at(QStringLiteral("Photos.zip"))),
              (QStringList{QStringLiteral("one.jpg"), QStringLiteral("two.jpg")}));

    check({QStringLiteral("a.txt")});
    ui_.folders = {dest.path()};
    ui_.answers = {true};
    app_.btnZipFilesTapped();
    EXPECT_EQ(zipEntries(dest.at(QStringLiteral("Archive.zip"))).size(), 3);
    // Zipping changes neither the tree nor the checks.
    EXPECT_EQ(child(work_, QStringLiteral("a.txt"))->state(), 1);
    EXPECT_EQ(work_->childCount(), 5u);
}

TEST_F(BulkActions, FileViewerTrashTakesItsNodesOutOfTheTree)
{
    app_.outlineViewSelectionDidChange(root_);
    app_.btnFileSizeTapped();
    // The size row holding the 100..400 byte files.
    int row = -1;
    const auto& rows = app_.reports().FSizeList();
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (const TFoldInfo* node : rows[i].nodes)
            if (node->sName() == QLatin1String("c.txt"))
                row = int(i);
    ASSERT_GE(row, 0);
    app_.doubleClickedGroupedRow(ReportIndex::SizeRanges, row);
    FileViewerWindowController* viewer = app_.fileViewer();
    ASSERT_NE(viewer, nullptr);
    viewer->performSelectAllOrUnSelect(1);
    const std::size_t inRow = rows[std::size_t(row)].nodes.size();
    ui_.answers = {true};
    viewer->deleteFiles();
    EXPECT_EQ(child(work_, QStringLiteral("c.txt")), nullptr);
    EXPECT_EQ(root_->cFiles(), 7 - std::int64_t(inRow));
    EXPECT_TRUE(QFile::exists(Paths::trashFiles() + QStringLiteral("/c.txt")));

    // An empty list opens no viewer: the alert comes instead.
    app_.openFilesViewerWindow({}, QStringLiteral("Nothing"));
    EXPECT_EQ(app_.fileViewer(), nullptr);
    EXPECT_EQ(ui_.alerts.size(), 1);
}

TEST_F(BulkActions, ZipThatCannotBeWrittenSaysSo)
{
    check({QStringLiteral("report.txt")});
    TempTree dest;
    const QString gone = dest.at(QStringLiteral("gone"));
    ui_.answers = {true};
    app_.zipSelectedFilesAt(gone);
    ASSERT_EQ(ui_.informatives.size(), 1);
    EXPECT_TRUE(ui_.informatives[0].contains(QStringLiteral("No such file or directory"))) << ui_.informatives[0].toStdString();
}

TEST_F(BulkActions, MoveThatStopsHalfWayUnchecksTheFolderAndTheTotalsFollowTheDisk)
{
    // Another file system (the rename says so): the folder is copied whole, then its second
    // item cannot be removed from the old place.
    struct Calls : FailingSystemCalls {
        Calls() : FailingSystemCalls(Call::Unlink, 2, EACCES) {}
        int renameNoReplace(const char*, const char*) override
        {
            errno = EXDEV;
            return -1;
        }
    } calls;
    TempTree dest;
    check({QStringLiteral("Photos")});
    TFoldInfo* photos = child(work_, QStringLiteral("Photos"));
    ui_.answers = {true};
    {
        FsOps::ScopedSystemCalls failing(calls);
        app_.moveSelectedFilesAt(dest.path());
    }
    ASSERT_TRUE(calls.failed());
    EXPECT_EQ(ui_.alerts.size(), 1);
    ASSERT_EQ(child(work_, QStringLiteral("Photos")), photos);
    EXPECT_EQ(photos->state(), 0);
    EXPECT_TRUE(QFile::exists(dest.at(QStringLiteral("Photos/one.jpg"))));
    EXPECT_TRUE(QFile::exists(dest.at(QStringLiteral("Photos/trip/two.jpg"))));

    ScanTree fresh(tree_.path(), QStringLiteral("fresh"));
    TFolderScanner scanner;
    ASSERT_TRUE(scanner.scanFolder(fresh.root()));
    AnalysisLib::totalFinishedTree(fresh.root());
    scanner.ReadFilesCountAndSizeForRoot(fresh.root());
    EXPECT_EQ(root_->cSize(), fresh.root()->cSize());
    EXPECT_EQ(work_->cSize(), child(fresh.root(), QStringLiteral("work"))->cSize());
    EXPECT_LT(photos->cSize(), 70u); // one of its items already left
}
