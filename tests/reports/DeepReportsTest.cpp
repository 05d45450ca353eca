// Every report of a folder chain far deeper than any recursion could follow.

#include "common/DeepTrees.h"
#include "reports/FolderReports.h"
#include "reports/ReportTable.h"
#include "reports/ReportsFixture.h"

namespace {

using namespace ReportIndex;

TEST_F(ReportsTest, EveryReportOfAHundredThousandLevelsDeepTree)
{
    DeepTrees::DeepTempTree t;
    DeepTrees::makeChain(t.path(), 100000, "d", 1000, 0);
    bool completed = false;
    auto tree = scanInto(t.path(), 2, excluding({QStringLiteral("/usr")}), nullptr, &completed);
    ASSERT_TRUE(completed);
    AnalysisLib::totalFinishedTree(tree->root()); // as the application does after a scan
    TFolderScanner().ReadFilesCountAndSizeForRoot(tree->root());

    FolderReports reports;
    reports.refreshAllReports(tree->root());
    for (int index = 0; index < 12; ++index) {
        EXPECT_TRUE(reports.generateReport(index)) << index;
        // Each report's table can be made and read.
        const std::unique_ptr<ReportTable> table = ReportTable::create(reports, index);
        if (table->rowCount() > 0) {
            EXPECT_FALSE(table->text(0, 0).isNull()) << index;
        }
    }

    // One file every 1,000 levels, each of (level % 97) bytes.
    std::uint64_t bytes = 0;
    for (int level = 1000; level <= 100000; level += 1000)
        bytes += std::uint64_t(level % 97);
    EXPECT_EQ(reports.arrFilesOnly().size(), 100u);
    EXPECT_EQ(reports.arrFilesOnly().front()->sPathBytes(), QByteArray(t.pathBytes() + QByteArray("/d").repeated(999) + "/f.txt"));
    EXPECT_TRUE(reports.arrAllChildApps().empty());
    std::uint64_t sized = 0;
    for (const TSizeInfo& row : reports.FSizeList())
        sized += row.Size;
    EXPECT_EQ(sized, bytes);

    // Every folder has its row, pre-order before any sort: the chain from the top down.
    ASSERT_EQ(reports.FAllFolderList().size(), 100000u);
    std::size_t deepest = 0;
    for (const TAllFoldInfo& row : reports.FAllFolderList())
        if (row.Folders == 0)
            ++deepest;
    EXPECT_EQ(deepest, 1u);
    EXPECT_EQ(reports.top100FilesBySize().size(), 100u);
    EXPECT_EQ(reports.top100OldestFiles().size(), 100u);
    reports.clear();
}

} // namespace
