#include "app/AppDelegateFixture.h"
#include "app/AppDelegate.h"
#include "app/ProgressWindowController.h"
#include "app/ScriptedUserInterface.h"
#include "common/TestSupport.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"
#include "settings/GeneralLib.h"
#include "settings/Paths.h"
#include "settings/Plist.h"
#include "settings/SettingsStore.h"

#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>

#include <gtest/gtest.h>

using TestSupport::TempTree;

namespace {

class AppDelegateScan : public AppDelegateFixture {
protected:
    void SetUp() override
    {
        AppDelegateFixture::SetUp();
        tree_.file(QStringLiteral("docs/a.txt"), 1000);
        tree_.file(QStringLiteral("docs/b.txt"), 500);
        tree_.file(QStringLiteral("media/song.mp3"), 3000);
        tree_.file(QStringLiteral("media/deep/clip.mp4"), 7000);
        tree_.mkdir(QStringLiteral("empty"));
    }

    TFoldInfo* scan(const QString& path)
    {
        if (!app_.setParsingPath(path))
            return nullptr;
        app_.waitForScanToFinish();
        return app_.selectedFolder();
    }
};

} // namespace

TEST_F(AppDelegateScan, ScanSelectsTheTotalledRootAndRecordsTheTime)
{
    QSignalSpy opened(&app_, &AppDelegate::progressWindowOpened);
    QSignalSpy closed(&app_, &AppDelegate::progressWindowClosed);
    TFoldInfo* root = scan(tree_.path());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(app_.arrParseResult(), std::vector<TFoldInfo*>{root});
    EXPECT_EQ(root->sPath(), tree_.path());
    EXPECT_EQ(root->cSize(), 11500u);
    EXPECT_EQ(root->cFiles(), 4);
    EXPECT_EQ(root->cFolders(), 4);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(app_.progressWC(), nullptr);
    EXPECT_TRUE(app_.refreshAndRemoveButtonsEnabled());
    EXPECT_TRUE(app_.isScannedSomeThing());
    const QString scanTime = Plist::readDictionary(Paths::supportFolder() + QStringLiteral("/ScanInfo.plist"))
                                 .value(QStringLiteral("ScanTime"))
                                 .toString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\ds$")).match(scanTime).hasMatch()) << scanTime.toStdString();
    // The root's direct children have their totals.
    EXPECT_EQ(child(root, QStringLiteral("media"))->cSize(), 10000u);
}

TEST_F(AppDelegateScan, RescanReplacesTheRootInPlaceAndAnotherPathAppends)
{
    TempTree other;
    other.file(QStringLiteral("x.bin"), 10);
    TFoldInfo* first = scan(tree_.path());
    TFoldInfo* second = scan(other.path());
    ASSERT_EQ(app_.arrParseResult().size(), 2u);
    tree_.file(QStringLiteral("docs/new.txt"), 11);
    TFoldInfo* again = scan(tree_.path());
    ASSERT_EQ(app_.arrParseResult().size(), 2u);
    EXPECT_EQ(app_.arrParseResult()[0], again);
    EXPECT_EQ(app_.arrParseResult()[1], second);
    EXPECT_NE(again, first);
    EXPECT_EQ(again->cSize(), 11511u);

    // A folder inside a scanned one is a root of its own.
    TFoldInfo* docs = scan(tree_.at(QStringLiteral("docs")));
    ASSERT_EQ(app_.arrParseResult().size(), 3u);
    EXPECT_EQ(docs->cSize(), 1511u);
    EXPECT_EQ(child(again, QStringLiteral("docs"))->cSize(), 1511u);
}

TEST_F(AppDelegateScan, ExcludedPathIsRefusedWithAnAlert)
{
    ExclusionList::setShared(std::make_shared<const ExclusionList>(QVariantMap{
        {QStringLiteral("Hard"), QVariantMap{{QStringLiteral("dirPath"), QVariantList{tree_.at(QStringLiteral("docs"))}}}}}));
    EXPECT_FALSE(app_.setParsingPath(tree_.at(QStringLiteral("docs"))));
    EXPECT_FALSE(app_.isScanning());
    EXPECT_TRUE(app_.arrParseResult().empty());
    EXPECT_EQ(ui_.alerts, QStringList{CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_PATH_EXCLUDED"))});
}

namespace {

// The scan thread is held at a known folder through the node-added callback while the
// main thread acts, so nothing depends on timing.
class ScanHold {
public:
    ScanHold(TFolderScanner& scanner, const QString& name) : scanner_(scanner)
    {
        scanner.setNodeAddedCallback([this, name](const TFoldInfo& node) {
            if (node.sName() != name)
                return;
            reached_.release();
            release_.acquire();
        });
    }
    ~ScanHold() { scanner_.setNodeAddedCallback({}); }
    bool waitUntilReached() { return reached_.tryAcquire(1, 30000); }
    void release() { release_.release(); }

private:
    TFolderScanner& scanner_;
    QSemaphore reached_, release_;
};

} // namespace

TEST_F(AppDelegateScan, CancelledScanCompletesWithItsPartialTree)
{
    for (int i = 0; i < 20; ++i)
        tree_.file(QStringLiteral("many/f%1/x.txt").arg(i), 1);
    ScanHold hold(app_.folderScanner(), QStringLiteral("many"));
    ASSERT_TRUE(app_.setParsingPath(tree_.path()));
    ASSERT_TRUE(hold.waitUntilReached());
    ASSERT_NE(app_.progressWC(), nullptr);
    app_.progressWC()->abortScanning();
    hold.release();
    app_.waitForScanToFinish();

    TFoldInfo* root = app_.selectedFolder();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(app_.arrParseResult(), std::vector<TFoldInfo*>{root});
    // The cancel came while the root was being listed: the listing stops after "many" and
    // no folder is entered. The partial root is entered, totalled and selected.
    TFoldInfo* many = child(root, QStringLiteral("many"));
    ASSERT_NE(many, nullptr);
    EXPECT_EQ(many->childCount(), 0u);
    EXPECT_EQ(root->cFiles(), 0);
    EXPECT_EQ(root->cSize(), 0u);
    EXPECT_EQ(root->cFolders(), std::int64_t(root->childCount()));
    EXPECT_TRUE(QFile::exists(Paths::supportFolder() + QStringLiteral("/ScanInfo.plist")));
    EXPECT_FALSE(app_.isScanning());
}

// A view repainting under the progress sheet reads the folder tree while the scan thread
// writes the new one: it must see only completed trees. A rescan keeps the old tree shown
// until completion, which replaces it at its index with every total final.
TEST_F(AppDelegateScan, FolderTreeShowsOnlyCompletedTreesWithFinalTotals)
{
    TempTree other;
    other.file(QStringLiteral("x.bin"), 10);
    TFoldInfo* first = scan(tree_.path());
    TFoldInfo* second = scan(other.path());
    tree_.file(QStringLiteral("docs/late/new.txt"), 5000);

    QSignalSpy reloads(&app_, &AppDelegate::folderTreeReloaded);
    ScanHold hold(app_.folderScanner(), QStringLiteral("new.txt"));
    ASSERT_TRUE(app_.setParsingPath(tree_.path()));
    ASSERT_TRUE(hold.waitUntilReached());
    // Mid-scan, on the main thread, read everything a view would.
    EXPECT_EQ(app_.folderTreeRowCount(nullptr), 2);
    EXPECT_EQ(app_.folderTreeChild(nullptr, 0), first);
    EXPECT_EQ(app_.folderTreeChild(nullptr, 1), second);
    for (TFoldInfo* folder : app_.folderTreeChildren(first))
        EXPECT_EQ(app_.folderTreeRowCount(folder), int(app_.folderTreeChildren(folder).size()));
    EXPECT_EQ(first->cSize(), 11500u);
    EXPECT_EQ(reloads.count(), 0);
    hold.release();
    app_.waitForScanToFinish();

    ASSERT_EQ(app_.arrParseResult().size(), 2u);
    TFoldInfo* again = app_.arrParseResult()[0];
    EXPECT_NE(again, first);
    EXPECT_EQ(app_.arrParseResult()[1], second);
    EXPECT_EQ(reloads.count(), 1);
    EXPECT_EQ(again->cSize(), 16500u);
    EXPECT_EQ(again->cFiles(), 5);
    EXPECT_EQ(again->cFolders(), 5);
    // Totals were computed on the scan thread for every node, not lazily on first read.
    TFoldInfo* late = child(child(again, QStringLiteral("docs")), QStringLiteral("late"));
    ASSERT_NE(late, nullptr);
    EXPECT_TRUE(late->bRead());
    EXPECT_EQ(late->cSize(), 5000u);
    EXPECT_EQ(late->cFiles(), 1);
    EXPECT_EQ(child(again, QStringLiteral("docs"))->cSize(), 6500u);
    EXPECT_EQ(app_.folderTreeChild(again, 0), child(again, QStringLiteral("media")));
}

TEST_F(AppDelegateScan, VolumeRootTakesTheVolumeUsedSpace)
{
    DriveNode drive;
    drive.path = tree_.path();
    drive.name = QStringLiteral("Data");
    drive.size = 1000000;
    drive.sizeFree = 300000; // 100000 more are reserved for root: neither used nor free
    drive.sizeUsed = 600000;
    app_.setDiskDrives({drive});
    TFoldInfo* root = scan(tree_.path());
    EXPECT_EQ(root->cSize(), 600000u);
    EXPECT_EQ(root->cASize(), 600000u);
}

TEST_F(AppDelegateScan, RemovingFoldersCorrectsAncestorsAndTheLastRootEmptiesAll)
{
    TFoldInfo* root = scan(tree_.path());
    TFoldInfo* media = child(root, QStringLiteral("media"));
    app_.outlineViewSelectionDidChange(media);
    ASSERT_EQ(app_.selectedFolder(), media);
    const auto folders = root->cFolders();
    app_.btnRemoveFolderFromScanTreeTapped();
    EXPECT_EQ(root->cSize(), 1500u);
    EXPECT_EQ(root->cFolders(), folders - 1);
    EXPECT_EQ(child(root, QStringLiteral("media")), nullptr);
    EXPECT_EQ(app_.selectedFolder(), root); // the nearest ancestor with a row

    QSignalSpy buttons(&app_, &AppDelegate::treeButtonsChanged);
    app_.btnRemoveFolderFromScanTreeTapped();
    EXPECT_TRUE(app_.arrParseResult().empty());
    EXPECT_EQ(app_.selectedFolder(), nullptr);
    EXPECT_FALSE(app_.refreshAndRemoveButtonsEnabled());
    ASSERT_FALSE(buttons.isEmpty());
    EXPECT_FALSE(buttons.last().at(0).toBool());
}

TEST_F(AppDelegateScan, RemovedItemsLeaveTheTreeOnceAndRootsStay)
{
    TFoldInfo* root = scan(tree_.path());
    TFoldInfo* docs = child(root, QStringLiteral("docs"));
    TFoldInfo* a = child(docs, QStringLiteral("a.txt"));
    app_.removeItemsFromScannedTree({a, a, root});
    EXPECT_EQ(docs->cSize(), 500u);
    EXPECT_EQ(docs->cFiles(), 1);
    EXPECT_EQ(root->cSize(), 10500u); // the repeated node is subtracted once
    EXPECT_EQ(root->cFiles(), 3);
    EXPECT_EQ(app_.arrParseResult().size(), 1u);
}

// A node listed after a folder that holds it left the tree with that folder: its size is
// not taken from the ancestors a second time.
TEST_F(AppDelegateScan, RemovedItemsInsideARemovedFolderAreNotSubtractedTwice)
{
    TFoldInfo* root = scan(tree_.path());
    TFoldInfo* media = child(root, QStringLiteral("media"));
    TFoldInfo* clip = child(child(media, QStringLiteral("deep")), QStringLiteral("clip.mp4"));
    app_.removeItemsFromScannedTree({media, clip});
    EXPECT_EQ(root->cSize(), 1500u);
    EXPECT_EQ(child(root, QStringLiteral("media")), nullptr);
}

TEST_F(AppDelegateScan, EmptyFolderIsNotSelectedAndTheSelectionStays)
{
    TFoldInfo* root = scan(tree_.path());
    TFoldInfo* docs = child(root, QStringLiteral("docs"));
    app_.outlineViewSelectionDidChange(docs);
    ui_.alerts.clear();
    app_.outlineViewSelectionDidChange(child(root, QStringLiteral("empty")));
    EXPECT_EQ(ui_.alerts, QStringList{CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_EMPTY_FOLDER_SELECTED"))});
    EXPECT_EQ(app_.selectedFolder(), docs);
}

TEST_F(AppDelegateScan, FolderTreeShowsLargestFoldersAndHidesEmptyOnes)
{
    tree_.file(QStringLiteral("Tool.app/Contents/Info.plist"), 50);
    tree_.file(QStringLiteral("only-app/Viewer.app/Contents/Info.plist"), 50);
    TFoldInfo* root = scan(tree_.path());
    std::vector<TFoldInfo*> shown = app_.folderTreeChildren(root);
    QStringList names;
    for (TFoldInfo* n : shown)
        names.append(n->sName());
    EXPECT_EQ(names, (QStringList{QStringLiteral("media"), QStringLiteral("docs"), QStringLiteral("only-app")}));
    EXPECT_TRUE(app_.isFolderTreeItemExpandable(root));
    EXPECT_FALSE(app_.isFolderTreeItemExpandable(child(root, QStringLiteral("only-app"))));
    EXPECT_TRUE(app_.isFolderTreeItemExpandable(child(root, QStringLiteral("media"))));

    SettingsStore::setValue(QStringLiteral("showEmptyFolders"), true);
    GeneralLib::refreshMiscSettings();
    shown = app_.folderTreeChildren(root);
    ASSERT_EQ(shown.size(), 4u); // "empty" comes last
    EXPECT_EQ(shown.back()->cSize(), 0u);
    SettingsStore::setValue(QStringLiteral("showEmptyFolders"), false);
    GeneralLib::refreshMiscSettings();

    // The applications outline lists both bundles, each with its whole content and no expansion.
    const std::vector<TFoldInfo*> apps = app_.appsOutlineChildren(nullptr);
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(app_.appsOutlineChildren(apps[0]).size(), apps[0]->childCount());
    EXPECT_FALSE(AppDelegate::isAppsOutlineItemExpandable(apps[0]));
    EXPECT_EQ(app_.appsOutlineText(apps[0], QStringLiteral("attributes")), QString());
    EXPECT_EQ(app_.appsOutlineText(apps[0], QStringLiteral("itemName")), apps[0]->sName());

    EXPECT_EQ(app_.folderTreeText(root, QStringLiteral("size")), QString());
    EXPECT_EQ(app_.folderTreeText(shown.front(), QStringLiteral("name")), QStringLiteral("media"));
    EXPECT_FALSE(app_.folderTreeText(shown.front(), QStringLiteral("size")).isEmpty());
}

TEST_F(AppDelegateScan, StatusBarDescribesTheSelectedFolder)
{
    scan(tree_.path());
    EXPECT_EQ(app_.statusBarPath(), tree_.path());
    EXPECT_TRUE(app_.statusBarFiles().endsWith(QStringLiteral(": 4"))) << app_.statusBarFiles().toStdString();
    EXPECT_TRUE(app_.statusBarFolders().endsWith(QStringLiteral(": 4")));
    EXPECT_TRUE(app_.statusBarSize().startsWith(CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_SIZE")) + QStringLiteral(": ")));
    EXPECT_EQ(SettingsStore::value(QStringLiteral("scanpath_nag")).toString(), tree_.path());
}

TEST_F(AppDelegateScan, VolumeWithoutAccessAsksAndChoosesAFolder)
{
    DriveNode drive;
    drive.path = tree_.at(QStringLiteral("missing-volume"));
    ui_.answers = {true};
    ui_.folders = {tree_.path()};
    app_.scanForDrive(drive);
    app_.waitForScanToFinish();
    EXPECT_EQ(ui_.questions.size(), 1);
    EXPECT_EQ(ui_.chooserStarts, QStringList{drive.path});
    ASSERT_EQ(app_.arrParseResult().size(), 1u);
    EXPECT_EQ(app_.arrParseResult()[0]->sPath(), tree_.path());
}
