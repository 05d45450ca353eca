#include "app/AppDelegateFixture.h"
#include "app/AppDelegate.h"
#include "app/ScriptedUserInterface.h"
#include "common/TestSupport.h"
#include "export/ScanReportFile.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"
#include "settings/GeneralLib.h"
#include "settings/Plist.h"
#include "settings/TypeCatalog.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using TestSupport::TempTree;

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

class AppDelegateReports : public AppDelegateFixture {
protected:
    void SetUp() override
    {
        AppDelegateFixture::SetUp();
        tree_.file(QStringLiteral("docs/a.txt"), 1000);
        tree_.file(QStringLiteral("docs/b.pdf"), 20000);
        tree_.file(QStringLiteral("pics/p.jpg"), 300000);
        tree_.file(QStringLiteral("pics/q.png"), 5);
        tree_.file(QStringLiteral("top.log"), 70);
        tree_.file(QStringLiteral("docs/c.qvx"), 3); // an extension no default group holds
        tree_.mkdir(QStringLiteral("empty"));
        root_ = scanTree();
    }

    TFoldInfo* root_ = nullptr;
};

} // namespace

TEST_F(AppDelegateReports, FirstScanShowsTheOverviewAndWritesTheScanReport)
{
    ASSERT_NE(root_, nullptr);
    EXPECT_EQ(app_.currentReportIndex(), ReportIndex::Overview);
    EXPECT_FALSE(app_.isTabButtonEnabled(ReportIndex::Overview));
    EXPECT_TRUE(app_.isTabButtonEnabled(ReportIndex::SizeRanges));
    EXPECT_GE(app_.reports().FOverViewList().size(), 6u);
    EXPECT_EQ(app_.tipsText(), text("ID_TIPS_FOR_OVERVIEW"));
    EXPECT_EQ(app_.topFilesColumnTitle(), text("ID_FILES_ON_DISK_NAME"));
    EXPECT_EQ(app_.reports().arrTopSizeFiles().size(), 6u);
    EXPECT_EQ(app_.selectedTopSizeFileRow(), 0);

    const QVariantMap report = Plist::readDictionary(ScanReportFile::filePath());
    EXPECT_EQ(report.value(QStringLiteral("topFiles")).toList().size(), 6);
    EXPECT_EQ(report.value(QStringLiteral("summary")).toMap().value(QStringLiteral("scannedPath")).toString(),
              tree_.path());
    EXPECT_TRUE(report.contains(text("ID_IMAGE_FILES")));
}

TEST_F(AppDelegateReports, RowsAreComputedOncePerSelectionAndCustomTypesOnEveryVisit)
{
    QSignalSpy panelOpened(&app_, &AppDelegate::reportProgressOpened);
    QSignalSpy panelClosed(&app_, &AppDelegate::reportProgressClosed);
    app_.btnFileSizeTapped();
    EXPECT_EQ(panelOpened.count(), 1);
    EXPECT_EQ(panelClosed.count(), 1);
    EXPECT_EQ(app_.currentReportIndex(), ReportIndex::SizeRanges);
    EXPECT_EQ(app_.tipsText(), text("ID_TIPS_FOR_SIZE"));
    EXPECT_TRUE(app_.reports().isComputed(ReportIndex::SizeRanges));
    std::int64_t files = 0;
    for (const TSizeInfo& row : app_.reports().FSizeList())
        files += row.Files;
    EXPECT_EQ(files, 6);

    // A new selection empties every list; the current report is computed again for it.
    app_.outlineViewSelectionDidChange(child(root_, QStringLiteral("docs")));
    EXPECT_EQ(app_.currentReportIndex(), ReportIndex::SizeRanges);
    EXPECT_FALSE(app_.reports().isComputed(ReportIndex::DateRanges));
    files = 0;
    for (const TSizeInfo& row : app_.reports().FSizeList())
        files += row.Files;
    EXPECT_EQ(files, 3);

    // The custom type summary follows a catalog change on the next visit.
    app_.btnCustomTypeSummary();
    const auto before = app_.reports().FSpList().size();
    ASSERT_TRUE(CustomTypeFilter::addNewCustomTypeFilter(QStringLiteral("Plain Texts"), QStringLiteral("qvx")));
    TypeCatalog::readAndUpdateGlobalsForParsing();
    app_.btnCustomTypeSummary();
    bool found = false;
    for (const TSpInfo& row : app_.reports().FSpList())
        found = found || row.label == QLatin1String("Plain Texts");
    EXPECT_TRUE(found);
    EXPECT_GE(app_.reports().FSpList().size(), before);
}

TEST_F(AppDelegateReports, FileActionButtonsFollowTheTabAndTheChecks)
{
    app_.btnFileExplorerTapped();
    EXPECT_FALSE(app_.fileActionButtonsEnabled());
    EXPECT_EQ(app_.fileActionButtonImages().first(), QStringLiteral("delete_dis.png"));
    TFoldInfo* log = child(root_, QStringLiteral("top.log"));
    app_.btnCheckBoxFileExplorerTableTapped(log, true);
    EXPECT_TRUE(app_.fileActionButtonsEnabled());
    EXPECT_EQ(app_.fileActionButtonImages().first(), QStringLiteral("delete.png"));
    app_.btnCheckBoxFileExplorerTableTapped(log, false);
    EXPECT_FALSE(app_.fileActionButtonsEnabled());

    app_.btnObsoleteFilesTapped();
    EXPECT_FALSE(app_.fileActionButtonsEnabled());
    app_.btnFileSizeTapped();
    EXPECT_FALSE(app_.fileActionButtonsEnabled());

    // The overview enables the actions for a selected file that may be deleted.
    app_.btnOverviewTapped();
    app_.topSizeFilesSelectionChanged(0);
    EXPECT_EQ(app_.fileActionButtonsEnabled(), !app_.reports().arrTopSizeFiles()[0]->isNonDeleteableFile());
    app_.topSizeFilesSelectionChanged(-1);
    EXPECT_FALSE(app_.fileActionButtonsEnabled());

    // The selection follows the node, not the row, when the list is sorted again.
    TFoldInfo* biggest = app_.reports().arrTopSizeFiles().front();
    app_.topSizeFileSelected(biggest);
    ASSERT_TRUE(app_.reports().sortTopSizeFiles(SortDescriptor{QStringLiteral("cSize"), true}));
    EXPECT_EQ(app_.selectedTopSizeFile(), biggest);
    EXPECT_EQ(app_.selectedTopSizeFileRow(), int(app_.reports().arrTopSizeFiles().size()) - 1);
    EXPECT_EQ(app_.nodesForToolbarCommand(), NodeList{biggest});
    // A node of another list selects nothing.
    app_.topSizeFileSelected(app_.selectedFolder());
    EXPECT_EQ(app_.selectedTopSizeFile(), nullptr);
    EXPECT_TRUE(app_.nodesForToolbarCommand().empty());
}

TEST_F(AppDelegateReports, DoubleClicksPreviewSelectOrOpenTheViewer)
{
    app_.btnFileExplorerTapped();
    app_.doubleClickedTableExplorer(child(root_, QStringLiteral("top.log")));
    EXPECT_EQ(ui_.previewed, QStringList{tree_.at(QStringLiteral("top.log"))});
    app_.doubleClickedTableExplorer(child(root_, QStringLiteral("empty")));
    EXPECT_EQ(ui_.alerts, QStringList{text("ID_EMPTY_FOLDER_SELECTED")});
    EXPECT_EQ(app_.selectedFolder(), root_);
    app_.doubleClickedTableExplorer(child(root_, QStringLiteral("pics")));
    EXPECT_EQ(app_.selectedFolder(), child(root_, QStringLiteral("pics")));

    app_.outlineViewSelectionDidChange(root_);
    app_.btnAllFoldersAndSubFoldersListTapped();
    QSignalSpy viewer(&app_, &AppDelegate::fileViewerRequested);
    int docsRow = -1;
    const auto& folders = app_.reports().FAllFolderList();
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (folders[i].sName() == QLatin1String("docs"))
            docsRow = int(i);
    ASSERT_GE(docsRow, 0);
    app_.doubleClickedTableAllFoldersAndSubfolders(docsRow);
    ASSERT_EQ(viewer.count(), 1);
    EXPECT_EQ(viewer.at(0).at(1).toString(), QStringLiteral("All Files from docs"));
    EXPECT_EQ(viewer.at(0).at(0).value<NodeList>().size(), 3u);
    app_.doubleClickedGroupedRow(ReportIndex::SizeRanges, 99); // no such row: nothing
    EXPECT_EQ(viewer.count(), 1);
}

TEST_F(AppDelegateReports, TopListsAndTheirTitles)
{
    app_.btnTopOldestFilesTapped();
    EXPECT_EQ(app_.reports().arrTopSizeFiles().size(), 6u);
    EXPECT_TRUE(app_.topFilesColumnTitle().contains(QLatin1String("6")));
    // The list keeps the file list's sort (size, descending, by default).
    EXPECT_EQ(app_.reports().arrTopSizeFiles().front()->sName(), QStringLiteral("p.jpg"));
    app_.overviewRowSelected(0);
    EXPECT_LE(app_.reports().arrTopSizeFiles().size(), 6u);
}

TEST_F(AppDelegateReports, ClosingTheWindowStoresTheSortOrders)
{
    ASSERT_TRUE(app_.reports().sortReport(ReportIndex::SizeRanges, SortDescriptor{QStringLiteral("Files"), true}));
    QSignalSpy quit(&app_, &AppDelegate::quitRequested);
    app_.windowWillClose();
    EXPECT_EQ(quit.count(), 1);
    const auto stored = CommonFuncs::unarchiveObjectForKey(QStringLiteral("sortDescriptorFileSize"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->key, QStringLiteral("Files"));
    EXPECT_TRUE(stored->ascending);
}
