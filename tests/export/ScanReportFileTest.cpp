#include "common/TestSupport.h"
#include "export/ScanReportFile.h"
#include "scan/ScanTree.h"
#include "scan/TFolderScanner.h"
#include "settings/ExclusionList.h"
#include "settings/Plist.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class ScanReport : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::setTestHome(home_.path()); }
    void TearDown() override { TestSupport::setTestHome(previous_); }
    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
};

std::unique_ptr<ScanTree> scanned(const TestSupport::TempTree& t)
{
    auto tree = std::make_unique<ScanTree>(t.path(), QStringLiteral("root"));
    TFolderScanner scanner;
    scanner.setExclusionList(std::make_shared<const ExclusionList>());
    scanner.scanFolder(tree->root());
    scanner.ReadFilesCountAndSizeForRoot(tree->root());
    return tree;
}

} // namespace

TEST_F(ScanReport, IsWrittenOnceWithTheFirst101Files)
{
    TestSupport::TempTree t;
    for (int i = 0; i < 250; ++i)
        t.file(QStringLiteral("f%1.bin").arg(i), i);
    auto tree = scanned(t);
    const auto files = tree->root()->SubList();
    const std::vector<ScanReportFile::OverviewRow> overview{{QStringLiteral("Image Files"), 3, 300},
                                                            {QStringLiteral("Other Files"), 247, 30825}};
    ASSERT_TRUE(ScanReportFile::writeScanReportFile(files, overview, tree->root()));

    const QVariantMap report = Plist::readDictionary(ScanReportFile::filePath());
    const QVariantList top = report.value(QStringLiteral("topFiles")).toList();
    ASSERT_EQ(top.size(), 101);
    EXPECT_EQ(top[100].toMap().value(QStringLiteral("filePath")).toString(), files[100]->sPath());
    EXPECT_EQ(top[0].toMap().value(QStringLiteral("fileName")).toString(), files[0]->sName());
    EXPECT_EQ(top[0].toMap().value(QStringLiteral("fileSize")).toLongLong(), qint64(files[0]->cSize()));
    const QVariantMap summary = report.value(QStringLiteral("summary")).toMap();
    EXPECT_EQ(summary.value(QStringLiteral("scannedPath")).toString(), t.path());
    EXPECT_EQ(summary.value(QStringLiteral("scannedPathFiles")).toLongLong(), 250);
    EXPECT_EQ(summary.value(QStringLiteral("scannedPathSize")).toLongLong(), 249 * 250 / 2);
    EXPECT_EQ(report.value(QStringLiteral("Image Files")).toMap().value(QStringLiteral("filesCount")).toLongLong(), 3);
    EXPECT_EQ(report.value(QStringLiteral("Other Files")).toMap().value(QStringLiteral("fileSize")).toLongLong(), 30825);
    EXPECT_TRUE(report.value(QStringLiteral("systemInfo")).toMap().contains(QStringLiteral("osName")));

    // Never rewritten while it exists, whatever the next overview holds.
    EXPECT_FALSE(ScanReportFile::writeScanReportFile({}, {}, nullptr));
    EXPECT_EQ(Plist::readDictionary(ScanReportFile::filePath()).value(QStringLiteral("topFiles")).toList().size(), 101);
}

TEST_F(ScanReport, WithoutSelectionTheSummaryIsEmpty)
{
    ASSERT_TRUE(ScanReportFile::writeScanReportFile({}, {}, nullptr));
    const QVariantMap report = Plist::readDictionary(ScanReportFile::filePath());
    EXPECT_TRUE(report.contains(QStringLiteral("summary")));
    EXPECT_TRUE(report.value(QStringLiteral("summary")).toMap().isEmpty());
    EXPECT_TRUE(report.value(QStringLiteral("topFiles")).toList().isEmpty());
}

TEST(SystemInfo, NamesKnownVersionsAndSpellsOutOthers)
{
    EXPECT_EQ(ScanReportFile::getSystemInfo({10, 9, 5}),
              (QVariantMap{{QStringLiteral("version"), QStringLiteral("10.9")}, {QStringLiteral("osName"), QStringLiteral("Mavericks")}}));
    EXPECT_EQ(ScanReportFile::getSystemInfo({10, 11, 6}).value(QStringLiteral("osName")).toString(),
              QStringLiteral("Mac OS X 10.11.6"));
    EXPECT_EQ(ScanReportFile::getSystemInfo({10, 10, 0}).value(QStringLiteral("osName")).toString(),
              QStringLiteral("Yosemite"));
    const ScanReportFile::SystemVersion here = ScanReportFile::systemVersion();
    EXPECT_GT(here.major, 0); // the kernel release of this machine
}
