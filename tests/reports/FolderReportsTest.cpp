// What the reports of a selected folder compute on which visit, and how they sort.

#include "reports/FolderReports.h"
#include "reports/ReportsFixture.h"

namespace {

using namespace ReportIndex;

class Reports : public ReportsTest {
protected:
    void SetUp() override
    {
        ReportsTest::SetUp();
        fixture_.file(QStringLiteral("big.iso"), 300000);
        fixture_.file(QStringLiteral("mid.txt"), 60000);
        fixture_.file(QStringLiteral("small.tmp"), 100);
        fixture_.file(QStringLiteral("docs/a.txt"), 20000);
        fixture_.file(QStringLiteral("docs/b.txt"), 30000);
        fixture_.file(QStringLiteral("docs/deep/c.log"), 0);
        fixture_.file(QStringLiteral("Tool.app/Contents/Info.plist"), 10);
        tree_ = scanWithTotals(fixture_.path());
        reports_.refreshAllReports(tree_.root());
    }
    void TearDown() override
    {
        reports_.clear();
        ReportsTest::TearDown();
    }
    ScannedTree tree_;
    FolderReports reports_;
};

QStringList sizeRanges(const FolderReports& r)
{
    QStringList out;
    for (const TSizeInfo& row : r.FSizeList())
        out.append(QString::number(row.SrNo) + QLatin1Char('=') + QString::number(row.Files));
    return out;
}

} // namespace

TEST_F(Reports, RowsAreComputedOnTheFirstVisitAfterTheyWereEmptied)
{
    EXPECT_FALSE(reports_.isComputed(SizeRanges));
    ASSERT_TRUE(reports_.generateReport(SizeRanges));
    EXPECT_EQ(reports_.arrFilesOnly().size(), 7u);
    // Sorted by the default "Size", descending: 256-512 KB, 32-64 KB, 16-32 KB, 0-16 KB.
    EXPECT_EQ(sizeRanges(reports_), (QStringList{QStringLiteral("5=1"), QStringLiteral("2=1"), QStringLiteral("1=2"),
                                                 QStringLiteral("0=3")}));

    // A file action takes a file out: the inputs lose it, the computed rows keep it.
    TFoldInfo* gone = tree_.at(QStringLiteral("big.iso"));
    reports_.removeNodes(std::vector<TFoldInfo*>{gone});
    EXPECT_EQ(std::count(reports_.arrFilesOnly().begin(), reports_.arrFilesOnly().end(), gone), 0);
    reports_.generateReport(SizeRanges);
    EXPECT_EQ(reports_.FSizeList().front().nodes, NodeList{gone});

    // Emptied: the next visit computes from the current inputs.
    reports_.makeBlankAllReport();
    EXPECT_TRUE(reports_.FSizeList().empty());
    reports_.generateReport(SizeRanges);
    EXPECT_EQ(sizeRanges(reports_), (QStringList{QStringLiteral("2=1"), QStringLiteral("1=2"), QStringLiteral("0=3")}));
}

TEST_F(Reports, CustomTypesAndObsoleteFilesAreComputedOnEveryVisit)
{
    reports_.generateReport(CustomTypes);
    reports_.generateReport(FileTypes);
    const auto bigRow = [this] {
        for (const TSpInfo& row : reports_.FSpList())
            if (row.label == uiText("ID_BIG_SIZE_FILES"))
                return namesOf(row.nodes);
        return QStringList();
    };
    EXPECT_TRUE(bigRow().isEmpty());
    const auto typesBefore = rowsOf(reports_.FExtList2());

    // A lower big-file threshold shows at the next visit of the custom summary only.
    SettingsStore::setValue(SettingsKeys::bigFilesSizeUnit, 2);
    GeneralLib::refreshMiscSettings(); // any other unit: 10000000 bytes
    tree_.at(QStringLiteral("big.iso"))->setCSize(10000000);
    reports_.generateReport(CustomTypes);
    EXPECT_EQ(bigRow(), QStringList{QStringLiteral("big.iso")});
    reports_.generateReport(FileTypes);
    EXPECT_EQ(rowsOf(reports_.FExtList2()), typesBefore);

    reports_.generateReport(ObsoleteFiles);
    QStringList obsolete = namesOf(reports_.FObsoleteFileList());
    obsolete.sort();
    EXPECT_EQ(obsolete, (QStringList{QStringLiteral("c.log"), QStringLiteral("small.tmp")}));
    tree_.at(QStringLiteral("small.tmp"))->setIsNonDeleteableFile(true);
    reports_.generateReport(ObsoleteFiles);
    EXPECT_EQ(namesOf(reports_.FObsoleteFileList()), QStringList{QStringLiteral("c.log")});
}

TEST_F(Reports, SortsFollowTheReportsRules)
{
    // A clicked sort becomes the size report's current sort and survives the next visit.
    reports_.generateReport(SizeRanges);
    ASSERT_TRUE(reports_.sortReport(SizeRanges, {QStringLiteral("SrNo"), true}));
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileSize), (SortDescriptor{QStringLiteral("SrNo"), true}));
    reports_.generateReport(SizeRanges);
    EXPECT_EQ(sizeRanges(reports_), (QStringList{QStringLiteral("0=3"), QStringLiteral("1=2"), QStringLiteral("2=1"),
                                                 QStringLiteral("5=1")}));
    // An unknown key changes nothing.
    EXPECT_FALSE(reports_.sortReport(SizeRanges, {QStringLiteral("NoSuchField"), false}));
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileSize).key, QStringLiteral("SrNo"));

    // The time of day goes back to size, descending, on every visit.
    for (TFoldInfo* node : PredicatesLib::prepareFilesArray(tree_.root()))
        node->setCTime(node->cSize() == 100 ? 3600.0 : 7200.0 + double(node->cSize() % 7) * 3600.0);
    reports_.makeBlankAllReport();
    reports_.generateReport(TimeOfDay);
    ASSERT_GE(reports_.FTimeList().size(), 3u);
    ASSERT_TRUE(reports_.sortReport(TimeOfDay, {QStringLiteral("SrNo"), true}));
    for (std::size_t i = 1; i < reports_.FTimeList().size(); ++i)
        EXPECT_LT(reports_.FTimeList()[i - 1].SrNo, reports_.FTimeList()[i].SrNo);
    reports_.generateReport(TimeOfDay);
    for (std::size_t i = 1; i < reports_.FTimeList().size(); ++i)
        EXPECT_GE(reports_.FTimeList()[i - 1].Size, reports_.FTimeList()[i].Size);
    EXPECT_EQ(reports_.FTimeList().front().Size, 320000u); // big.iso and a.txt share an hour
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileSize).key, QStringLiteral("SrNo"));

    // The explorer is sorted by cSize descending by default, with folder totals computed.
    reports_.generateReport(FileExplorer);
    EXPECT_EQ(namesOf(reports_.arrFilesExplorer()),
              (QStringList{QStringLiteral("big.iso"), QStringLiteral("mid.txt"), QStringLiteral("docs"),
                           QStringLiteral("small.tmp"), QStringLiteral("Tool.app")}));
    EXPECT_EQ(tree_.at(QStringLiteral("docs"))->cSize(), 50000u);
    // The overview's rows keep their order.
    reports_.generateReport(Overview);
    EXPECT_EQ(reports_.FOverViewList().front().label, uiText("ID_DOCUMENT_FILES"));
    EXPECT_EQ(reports_.totalFilesCount(), 7);
}

TEST_F(Reports, AllFoldersAppsAndTheOverviewFileList)
{
    reports_.generateReport(AllFolders);
    QStringList folders;
    for (const TAllFoldInfo& row : reports_.FAllFolderList())
        folders.append(row.sName() + QLatin1Char('=') + QString::number(row.Size) + QLatin1Char('/')
                       + QString::number(row.Files));
    EXPECT_EQ(folders, (QStringList{QStringLiteral("docs=50000/3"), QStringLiteral("deep=0/1")}));

    reports_.generateReport(Applications);
    ASSERT_EQ(reports_.arrAllChildApps().size(), 1u);
    EXPECT_EQ(reports_.arrAllChildApps()[0]->cSize(), 10u);

    // The oldest list is shown in the file list's sort (size, descending), not by age.
    reports_.loadTopSizeFilesTableFor(reports_.top100OldestFiles());
    const NodeList& shown = reports_.arrTopSizeFiles();
    ASSERT_EQ(shown.size(), 7u);
    for (std::size_t i = 1; i < shown.size(); ++i)
        EXPECT_GE(shown[i - 1]->cSize(), shown[i]->cSize());
    ASSERT_TRUE(reports_.sortTopSizeFiles({QStringLiteral("sName"), true}));
    EXPECT_EQ(shown.front()->sName(), QStringLiteral("Tool.app"));
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::TopFiles).key, QStringLiteral("sName"));
}

TEST_F(Reports, SharesDivideByTheSelectedFolderSize)
{
    TFoldInfo* root = tree_.root();
    root->setCSize(800);
    EXPECT_EQ(reports_.shareText(100), QStringLiteral("12.50 %"));
    EXPECT_EQ(reports_.shareText(800), QStringLiteral("100.00 %"));
    root->setCSize(0);
    EXPECT_EQ(reports_.shareText(3), QStringLiteral("300.00 %"));
    EXPECT_EQ(reports_.shareText(0), QStringLiteral("0.00 %"));
}

TEST_F(Reports, AnEmptyFolderShowsSixEmptyOverviewRows)
{
    TestSupport::TempTree empty;
    const ScannedTree t = scanWithTotals(empty.path());
    reports_.refreshAllReports(t.root());
    for (int index = 0; index < 12; ++index)
        EXPECT_TRUE(reports_.generateReport(index)) << index;
    EXPECT_EQ(reports_.FOverViewList().size(), 6u);
    for (const TSpInfo& row : reports_.FOverViewList())
        EXPECT_EQ(row.Files, 0);
    EXPECT_EQ(reports_.totalFilesCount(), 0);
    EXPECT_TRUE(reports_.FSizeList().empty());
    EXPECT_TRUE(reports_.FAttrList().empty());
    EXPECT_TRUE(reports_.FSpList().empty());
    EXPECT_TRUE(reports_.FOwnerList().empty());
    reports_.clear();
    EXPECT_FALSE(reports_.generateReport(Overview));
    EXPECT_FALSE(reports_.generateReport(12));
}

// Each report's row count is that of its own list (a table model's rowCount).
TEST_F(Reports, RowCountsAreThoseOfEachReportsList)
{
    for (int index = FileExplorer; index <= ObsoleteFiles; ++index)
        reports_.generateReport(index);
    const std::vector<std::pair<int, std::size_t>> expected{
        {FileExplorer, reports_.arrFilesExplorer().size()}, {FileTypes, reports_.FExtList2().size()},
        {Attributes, reports_.FAttrList().size()},          {SizeRanges, reports_.FSizeList().size()},
        {DateRanges, reports_.FDateList().size()},          {TimeOfDay, reports_.FTimeList().size()},
        {Ownership, reports_.FOwnerList().size()},          {CustomTypes, reports_.FSpList().size()},
        {AllFolders, reports_.FAllFolderList().size()},     {Applications, reports_.arrAllChildApps().size()},
        {Overview, reports_.FOverViewList().size()},        {ObsoleteFiles, reports_.FObsoleteFileList().size()}};
    for (const auto& [index, size] : expected)
        EXPECT_EQ(reports_.rowCount(index), size) << index;
    EXPECT_EQ(reports_.rowCount(FileExplorer), 5u);
    EXPECT_EQ(reports_.rowCount(AllFolders), 2u); // docs and docs/deep
    EXPECT_EQ(reports_.rowCount(-1), 0u);
    EXPECT_EQ(reports_.rowCount(12), 0u);
}
