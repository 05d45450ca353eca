// The report tables: columns, cell texts, sort values, check boxes and column sorting.

#include "reports/FolderReports.h"
#include "reports/ReportTable.h"
#include "reports/ReportsFixture.h"

namespace {

using namespace ReportIndex;

class Tables : public ReportsTest {
protected:
    void SetUp() override
    {
        ReportsTest::SetUp();
        fixture_.file(QStringLiteral("big.iso"), 300000);
        fixture_.file(QStringLiteral("nine.txt"), 9);
        fixture_.file(QStringLiteral("hundred.txt"), 100);
        fixture_.file(QStringLiteral("empty.tmp"), 0);
        fixture_.file(QStringLiteral("docs/a.txt"), 20000);
        tree_ = scanWithTotals(fixture_.path());
        reports_.refreshAllReports(tree_.root());
    }
    void TearDown() override
    {
        reports_.clear();
        ReportsTest::TearDown();
    }
    std::unique_ptr<ReportTable> visit(int tableId)
    {
        if (tableId == ReportTableId::TopFiles) {
            reports_.getFilesOnlyForSelectedRoot();
            reports_.loadTopSizeFilesTableFor(reports_.arrFilesOnly());
        } else {
            EXPECT_TRUE(reports_.generateReport(tableId));
        }
        return ReportTable::create(reports_, tableId);
    }
    static QStringList column(const ReportTable& table, const char* id)
    {
        QStringList out;
        const int c = table.columnIndex(QLatin1String(id));
        for (int r = 0; r < table.rowCount(); ++r)
            out.append(table.text(r, c));
        return out;
    }
    static QStringList ids(const ReportTable& table)
    {
        QStringList out;
        for (int c = 0; c < table.columnCount(); ++c)
            out.append(table.columnId(c));
        return out;
    }
    QString size(std::uint64_t bytes) const { return CommonFuncs::sizeUnitFor(GeneralLib::cache().allDiskReports, bytes); }
    ScannedTree tree_;
    FolderReports reports_;
};

} // namespace

TEST_F(Tables, EveryTableHasItsColumnsInOrderWithHeaderTexts)
{
    const std::map<int, QString> expected{
        {FileExplorer, QStringLiteral("name parent size sizeondisk folders files type lmd cd lad attributes")},
        {FileTypes, QStringLiteral("type percent files size sizeondisk")},
        {Attributes, QStringLiteral("attribute files size sizeondisk")},
        {SizeRanges, QStringLiteral("sizerange files percent size sizeondisk")},
        {DateRanges, QStringLiteral("daterange files size sizeondisk")},
        {TimeOfDay, QStringLiteral("timerange files size sizeondisk")},
        {Ownership, QStringLiteral("ownername domainname files percent size sizeondisk")},
        {CustomTypes, QStringLiteral("type files size sizeondisk")},
        {AllFolders, QStringLiteral("name path parent size sizeondisk folders files lmd")},
        {Applications, QStringLiteral("itemName attributes size")},
        {Overview, QStringLiteral("type filecount size percentage")},
        {ObsoleteFiles, QStringLiteral("name path size sizeondisk")},
        {ReportTableId::TopFiles, QStringLiteral("name size percent createdDate")},
    };
    for (const auto& [id, columns] : expected) {
        const auto table = ReportTable::create(reports_, id);
        ASSERT_TRUE(table) << id;
        EXPECT_EQ(ids(*table).join(QLatin1Char(' ')), columns) << id;
        for (int c = 0; c < table->columnCount(); ++c)
            EXPECT_TRUE(CommonFuncs::hasLocalizedStringForKey(table->column(c).titleKey)) << table->column(c).titleKey.toStdString();
    }
    EXPECT_EQ(ReportTable::create(reports_, ReportTableId::Count), nullptr);
    EXPECT_EQ(ReportTable::create(reports_, -1), nullptr);
    EXPECT_TRUE(CommonFuncs::missingLocalizedStringKeys().isEmpty());
}

TEST_F(Tables, GroupedCellsShowCountsSizesAndSharesOfTheSelectedFolder)
{
    const auto sizes = visit(SizeRanges);
    ASSERT_EQ(sizes->rowCount(), 3); // 0-16 KB (3 files), 16-32 KB, 256-512 KB
    const int big = 0; // sorted by "Size", descending
    EXPECT_EQ(sizes->groupRow(big)->nodes, NodeList{tree_.at(QStringLiteral("big.iso"))});
    EXPECT_EQ(sizes->text(big, sizes->columnIndex(u"files")), QStringLiteral("1"));
    EXPECT_EQ(sizes->text(big, sizes->columnIndex(u"size")), size(300000));
    // 300000 of 320109 bytes: 93.718...
    EXPECT_EQ(sizes->text(big, sizes->columnIndex(u"percent")), QStringLiteral("93.72 %"));
    EXPECT_NEAR(sizes->sortValue(big, sizes->columnIndex(u"percent")).toDouble(), 93.718, 0.001);
    EXPECT_EQ(sizes->node(big), nullptr);
    EXPECT_EQ(sizes->text(5, 0), QString());
    EXPECT_FALSE(sizes->sortValue(0, 99).isValid());
    EXPECT_EQ(sizes->checkColumn(), -1);
    EXPECT_FALSE(sizes->setChecked(0, true));
}

TEST_F(Tables, OverviewGroupsWithoutFilesShowDashes)
{
    const auto overview = visit(Overview);
    ASSERT_GE(overview->rowCount(), 6);
    int empty = 0;
    for (int r = 0; r < overview->rowCount(); ++r) {
        const bool noFiles = overview->groupRow(r)->Files == 0;
        empty += noFiles ? 1 : 0;
        EXPECT_EQ(overview->text(r, overview->columnIndex(u"size")) == QLatin1String("--"), noFiles) << r;
        EXPECT_EQ(overview->text(r, overview->columnIndex(u"percentage")) == QLatin1String("--"), noFiles) << r;
    }
    EXPECT_GT(empty, 0);
}

TEST_F(Tables, AnEmptyRootDividesSharesByOne)
{
    TestSupport::TempTree emptyFiles;
    emptyFiles.file(QStringLiteral("zero.txt"), 0);
    ScannedTree scanned = scanWithTotals(emptyFiles.path());
    FolderReports reports;
    reports.refreshAllReports(scanned.root());
    ASSERT_TRUE(reports.generateReport(SizeRanges));
    const auto table = ReportTable::create(reports, SizeRanges);
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->text(0, table->columnIndex(u"percent")), QStringLiteral("0.00 %"));
    reports.clear();
}

TEST_F(Tables, NodeTablesShowTheirNodesAndDashesForZeroSizes)
{
    const auto top = visit(ReportTableId::TopFiles);
    TFoldInfo* empty = tree_.at(QStringLiteral("empty.tmp"));
    const int row = top->rowOfNode(empty);
    ASSERT_GE(row, 0);
    EXPECT_EQ(top->node(row), empty);
    EXPECT_EQ(top->text(row, top->columnIndex(u"size")), QStringLiteral("--"));
    EXPECT_EQ(top->text(row, top->columnIndex(u"createdDate")),
              CommonFuncs::getFomattedDateString(CommonFuncs::dateFromAbsoluteTime(empty->cTime())));

    // The explorer shows plain sizes, and its folders' counts.
    const auto explorer = visit(FileExplorer);
    EXPECT_EQ(explorer->text(explorer->rowOfNode(empty), explorer->columnIndex(u"size")), size(0));
    const int docs = explorer->rowOfNode(tree_.at(QStringLiteral("docs")));
    EXPECT_EQ(explorer->text(docs, explorer->columnIndex(u"files")), QStringLiteral("1"));
    EXPECT_EQ(explorer->text(docs, explorer->columnIndex(u"name")), QStringLiteral("docs"));

    // All folders: the folder is the row's node.
    const auto folders = visit(AllFolders);
    ASSERT_EQ(folders->rowCount(), 1);
    EXPECT_EQ(folders->node(0), tree_.at(QStringLiteral("docs")));
    EXPECT_EQ(folders->folderRow(0)->foldInfo, folders->node(0));
    EXPECT_EQ(folders->text(0, folders->columnIndex(u"size")), size(20000));
}

TEST_F(Tables, ClickedColumnsSortByValueAndBecomeTheStoredSort)
{
    const auto explorer = visit(FileExplorer);
    const int sizeColumn = explorer->columnIndex(u"size");
    ASSERT_TRUE(explorer->sort(sizeColumn, true));
    QList<quint64> values;
    for (int r = 0; r < explorer->rowCount(); ++r)
        values.append(explorer->sortValue(r, sizeColumn).toULongLong());
    EXPECT_EQ(values, (QList<quint64>{0, 9, 100, 20000, 300000})); // 9 Bytes before 100 Bytes
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileExplorer), (SortDescriptor{QStringLiteral("cSize"), true}));
    EXPECT_EQ(explorer->sortIndicator(), (std::pair{explorer->columnIndex(u"parent"), true})); // first column on cSize

    // The range column orders the buckets as they follow each other.
    const auto sizes = visit(SizeRanges);
    ASSERT_TRUE(sizes->sort(0, true));
    EXPECT_LT(sizes->sortValue(0, 0).toLongLong(), sizes->sortValue(1, 0).toLongLong());
    EXPECT_LT(sizes->sortValue(1, 0).toLongLong(), sizes->sortValue(2, 0).toLongLong());
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileSize), (SortDescriptor{QStringLiteral("SrNo"), true}));
    // A later visit sorts the same way.
    const auto again = visit(SizeRanges);
    EXPECT_EQ(again->groupRow(0)->Files, 3);

    // The time of day is sorted by the click but returns to size order on the next visit.
    const auto times = visit(TimeOfDay);
    ASSERT_TRUE(times->sort(times->columnIndex(u"size"), true));
    EXPECT_FALSE(FolderReports::currentSort(TimeOfDay)->ascending);
    EXPECT_EQ(times->sortIndicator(), (std::pair{times->columnIndex(u"size"), false}));

    // The explorer's attribute text has no field to sort by.
    EXPECT_FALSE(explorer->sort(explorer->columnIndex(u"attributes"), true));
}

TEST_F(Tables, CheckBoxesFollowTheNodesAndRefuseFilesThatMayNotBeDeleted)
{
    const auto explorer = visit(FileExplorer);
    EXPECT_EQ(explorer->checkColumn(), 0);
    TFoldInfo* locked = tree_.at(QStringLiteral("nine.txt"));
    TFoldInfo* free = tree_.at(QStringLiteral("hundred.txt"));
    locked->setIsNonDeleteableFile(true);
    locked->setState(1);
    const int lockedRow = explorer->rowOfNode(locked);
    EXPECT_FALSE(explorer->isChecked(lockedRow));
    EXPECT_FALSE(explorer->isCheckEnabled(lockedRow));
    EXPECT_FALSE(explorer->setChecked(lockedRow, false));
    EXPECT_EQ(locked->state(), 1);

    // Without a handler the table stores the state itself.
    const int freeRow = explorer->rowOfNode(free);
    EXPECT_TRUE(explorer->setChecked(freeRow, true));
    EXPECT_EQ(free->state(), 1);
    EXPECT_TRUE(explorer->isChecked(freeRow));

    // With one, the handler decides; the obsolete files use their own state.
    std::vector<std::pair<TFoldInfo*, bool>> calls;
    const auto obsolete = ReportTable::create(reports_, ObsoleteFiles, [&calls](TFoldInfo* n, bool c) {
        calls.emplace_back(n, c);
    });
    ASSERT_TRUE(reports_.generateReport(ObsoleteFiles));
    const int tmp = obsolete->rowOfNode(tree_.at(QStringLiteral("empty.tmp")));
    ASSERT_GE(tmp, 0);
    EXPECT_TRUE(obsolete->setChecked(tmp, true));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (std::pair{tree_.at(QStringLiteral("empty.tmp")), true}));
    EXPECT_FALSE(obsolete->isChecked(tmp)); // the handler stored nothing
    tree_.at(QStringLiteral("empty.tmp"))->setStateAtObsoleteFiles(1);
    EXPECT_TRUE(obsolete->isChecked(tmp));
}
