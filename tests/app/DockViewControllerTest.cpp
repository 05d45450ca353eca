// The tray popover's data: which groups are charted, their shares, the texts, the detail
// table and the tab highlight, fed with rows of real scanned files.

#include "app/AppDelegateFixture.h"
#include "app/DockViewController.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"

#include <deque>

namespace {

// Holds delayed work until the test runs it.
class ManualScheduler : public Scheduler {
public:
    void schedule(std::chrono::milliseconds, std::function<void()> work) override { pending.push_back(std::move(work)); }
    void runAll()
    {
        while (!pending.empty()) {
            auto work = std::move(pending.front());
            pending.pop_front();
            work();
        }
    }
    std::deque<std::function<void()>> pending;
};

class DockViewControllerTest : public AppDelegateFixture {
protected:
    // One overview row over the named files of the scanned tree.
    TSpInfo row(const QString& type, const QStringList& names)
    {
        TSpInfo info;
        info.label = type;
        for (const QString& name : names)
            addNodeToRow(info, child(root_, name));
        return info;
    }

    // Scans files: images i0..i2 (3000, 1, 2 bytes), documents d0..d11 (100..1200),
    // f.csv (5000, financial), b.epub (1000), z.txt (0 bytes).
    void SetUp() override
    {
        AppDelegateFixture::SetUp();
        tree_.file(QStringLiteral("i0.jpg"), 3000);
        tree_.file(QStringLiteral("i1.jpg"), 1);
        tree_.file(QStringLiteral("i2.jpg"), 2);
        for (int i = 0; i < 12; ++i)
            tree_.file(QStringLiteral("d%1.pdf").arg(i), 100 * (i + 1));
        tree_.file(QStringLiteral("f.csv"), 5000);
        tree_.file(QStringLiteral("b.epub"), 1000);
        tree_.file(QStringLiteral("z.txt"), 0);
        root_ = scanTree();
        ASSERT_NE(root_, nullptr);
    }

    std::vector<TSpInfo> sevenRows()
    {
        QStringList documents;
        for (int i = 0; i < 12; ++i)
            documents << QStringLiteral("d%1.pdf").arg(i);
        return {row(QStringLiteral("Image Files"), {QStringLiteral("i0.jpg"), QStringLiteral("i1.jpg"), QStringLiteral("i2.jpg")}),
                row(QStringLiteral("Document Files"), documents),
                row(QStringLiteral("Video Files"), {}),
                row(QStringLiteral("Audio Files"), {}),
                row(QStringLiteral("Other Files"), {QStringLiteral("z.txt")}),
                row(QStringLiteral("Financial Files"), {QStringLiteral("f.csv")}),
                row(QStringLiteral("E-Books"), {QStringLiteral("b.epub")})};
    }

    TFoldInfo* root_ = nullptr;
    ManualScheduler manual_;
};

TEST_F(DockViewControllerTest, ChartsFiveGroupsWhileUsedSpaceCountsAllSeven)
{
    DockViewController dock(manual_);
    dock.setupDataInStatusMenu(sevenRows(), app_.reports().arrFilesOnly());

    ASSERT_EQ(dock.groupRowCount(), 5);
    ASSERT_EQ(dock.chartData().size(), 5u);
    QStringList types;
    for (int i = 0; i < dock.groupRowCount(); ++i)
        types << dock.groupTypeText(i);
    EXPECT_EQ(types.join(QLatin1Char(',')),
              QStringLiteral("Image Files,Document Files,Video Files,Audio Files,Other Files"));
    // 3003 + 7800 charted bytes; 6000 more in the two groups left out of the chart.
    EXPECT_EQ(dock.txtTotalSpaceUsed(), QStringLiteral("Used Space: 16.80 KB"));
    EXPECT_FLOAT_EQ(float(dock.chartData()[0].size), 3003.0f * 100.0f / 10803.0f / 100.0f);
    EXPECT_FLOAT_EQ(float(dock.chartData()[1].size), 7800.0f * 100.0f / 10803.0f / 100.0f);
    EXPECT_EQ(dock.chartData()[2].size, 0.0);
    EXPECT_EQ(dock.chartData()[0].sizetxt, QStringLiteral("3.00 KB"));
    EXPECT_EQ(dock.chartData()[0].color, (ChartColor{0.5956, 0.8756, 0.9689}));
    EXPECT_EQ(dock.chartData()[4].color, (ChartColor{1, 0.84, 0.4578}));
    EXPECT_EQ(DockViewController::groupColor(QStringLiteral("Financial Files")), std::nullopt);

    // A group without files reads "0 Bytes"; one with files its size.
    EXPECT_EQ(dock.groupSizeText(2), QStringLiteral("0 Bytes"));
    EXPECT_EQ(dock.groupSizeText(1), QStringLiteral("7.80 KB"));
}

TEST_F(DockViewControllerTest, GroupsOfNothingGiveZeroSharesAndUsedSpaceOfAllRows)
{
    std::vector<TSpInfo> rows = {row(QStringLiteral("Image Files"), {}), row(QStringLiteral("Video Files"), {}),
                                 row(QStringLiteral("Financial Files"), {QStringLiteral("f.csv")})};
    DockViewController dock(manual_);
    dock.setupDataInStatusMenu(rows, {});
    ASSERT_EQ(dock.chartData().size(), 2u);
    for (const BarChartEntry& entry : dock.chartData())
        EXPECT_EQ(entry.size, 0.0);
    EXPECT_EQ(dock.txtTotalSpaceUsed(), QStringLiteral("Used Space: 5.00 KB"));
}

TEST_F(DockViewControllerTest, DetailTableShowsAtMostTheFiveBiggestOfAGroupOrOfAll)
{
    DockViewController dock(manual_);
    dock.setupDataInStatusMenu(sevenRows(), app_.reports().arrFilesOnly());
    EXPECT_EQ(dock.detailRowCount(), 0) << "the biggest files load only after the delay";
    manual_.runAll();
    EXPECT_EQ(dock.selectedTab(), DockViewController::kTabAllFiles);
    ASSERT_EQ(dock.detailRowCount(), 5);
    EXPECT_EQ(dock.detailNameText(0), QStringLiteral("f.csv"));
    EXPECT_EQ(dock.detailNameText(1), QStringLiteral("i0.jpg"));
    EXPECT_EQ(dock.detailRankText(4), QStringLiteral("5"));

    dock.groupRowSelected(0); // three images: all three, biggest first
    ASSERT_EQ(dock.detailRowCount(), 3);
    EXPECT_EQ(dock.detailNameText(0) + dock.detailNameText(1) + dock.detailNameText(2),
              QStringLiteral("i0.jpgi2.jpgi1.jpg"));
    EXPECT_EQ(dock.detailSizeText(2), QStringLiteral("1 Bytes"));

    dock.groupRowSelected(1); // twelve documents: the five biggest
    ASSERT_EQ(dock.detailRowCount(), 5);
    EXPECT_EQ(dock.detailNameText(0), QStringLiteral("d11.pdf"));
    EXPECT_EQ(dock.detailNameText(4), QStringLiteral("d7.pdf"));
    EXPECT_EQ(dock.detailNode(5), nullptr);

    dock.btnTabsPressed(DockViewController::kTabMusic); // Other Files sits in row 4: music is row 3, empty
    EXPECT_EQ(dock.detailRowCount(), 0);
    dock.groupRowSelected(4); // row 4 loads the biggest of all files
    EXPECT_EQ(dock.selectedTab(), DockViewController::kTabAllFiles);
    EXPECT_EQ(dock.detailNameText(0), QStringLiteral("f.csv"));

    dock.sortDetailTable(QStringLiteral("size"), true);
    EXPECT_EQ(dock.detailNameText(0), QStringLiteral("z.txt"));
    EXPECT_EQ(dock.detailSizeText(0), QStringLiteral("--"));
}

TEST_F(DockViewControllerTest, TabHighlightFollowsTheRowIndexNotTheGroup)
{
    std::vector<TSpInfo> rows = sevenRows();
    std::swap(rows[0], rows[2]); // row 2 now holds the images
    DockViewController dock(manual_);
    dock.setupDataInStatusMenu(rows, app_.reports().arrFilesOnly());
    dock.groupRowSelected(2);
    EXPECT_EQ(dock.selectedTab(), DockViewController::kTabVideos);
    EXPECT_EQ(dock.detailRowCount(), 3);
    dock.groupRowSelected(6); // beyond the tabs: nothing changes
    EXPECT_EQ(dock.selectedTab(), DockViewController::kTabVideos);
    dock.changeDatainDetailTable(-1);
    EXPECT_EQ(dock.detailRowCount(), 3);

    const auto selected = DockViewController::tabLook(true);
    const auto plain = DockViewController::tabLook(false);
    EXPECT_EQ(selected.fill, (ChartColor{0.3098, 0.3059, 0.3294}));
    EXPECT_FALSE(selected.separatorVisible);
    EXPECT_DOUBLE_EQ(plain.titleOpacity, 0.7);
}

TEST_F(DockViewControllerTest, ScanPathComesFromTheStatusBarAndRefreshWaitsForTheNextAppearance)
{
    SettingsStore::remove(QStringLiteral("scanpath_nag"));
    DockViewController dock(manual_);
    dock.setupDataInStatusMenu({}, {});
    EXPECT_EQ(dock.txtScanPath(), QStringLiteral("Scan Path: -"));

    // The controller stores the selected folder's path as it fills the status bar.
    app_.updateStatusBarOption();
    dock.setupDataInStatusMenu(sevenRows(), {});
    EXPECT_EQ(dock.txtScanPath(), QStringLiteral("Scan Path: ") + root_->sPath());
    EXPECT_EQ(dock.chartData()[0].sizetxt, QStringLiteral("3.00 KB"));

    GeneralLib::overrideDisplayUnitSettings(CommonFuncs::Bytes, 0, 0, 2);
    EXPECT_FALSE(dock.viewWillAppear()) << "no refresh was asked for";
    EXPECT_EQ(dock.chartData()[0].sizetxt, QStringLiteral("3.00 KB"));
    dock.setShouldRefresh(true);
    EXPECT_TRUE(dock.viewWillAppear());
    EXPECT_FALSE(dock.shouldRefresh());
    EXPECT_EQ(dock.chartData()[0].sizetxt, QStringLiteral("3003 Bytes"));
    GeneralLib::overrideDisplayUnitSettings(0, 0, 0, 2);
}

TEST_F(DockViewControllerTest, DelayedLoadAfterClearTouchesNothing)
{
    DockViewController dock(manual_);
    dock.setupDataInStatusMenu(sevenRows(), app_.reports().arrFilesOnly());
    dock.clear(); // the folder went away before the delay ran out
    manual_.runAll();
    EXPECT_EQ(dock.detailRowCount(), 0);
    EXPECT_EQ(dock.groupRowCount(), 0);
}

} // namespace
