// The tray popover on real widgets, offscreen: the bar chart's geometry and pixels, and the
// popover opened from the Summary button after a real scan.

#include "app/AppDelegate.h"
#include "app/TimerScheduler.h"
#include "common/TestSupport.h"
#include "reports/charts/BarChartView.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"
#include "settings/SettingsStore.h"
#include "ui/popover/DockPopover.h"
#include "ui/popover/TrayController.h"

#include "app/ScriptedUserInterface.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

const ChartColor kRed{1, 0, 0};
const ChartColor kBlue{0, 0, 1};

QImage render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

TEST(BarChartViewTest, BarHeightsFollowTheShareOfTheLargestValue)
{
    // A 100-point chart whose largest value is 1: 4 % is d = 4, drawn 5 × 4; 5 % is 5.
    EXPECT_DOUBLE_EQ(BarChartView::barHeight(0.04, 1, 100), 20);
    EXPECT_DOUBLE_EQ(BarChartView::barHeight(0.05, 1, 100), 5);
    EXPECT_DOUBLE_EQ(BarChartView::barHeight(0, 1, 100), 0.5);
    EXPECT_DOUBLE_EQ(BarChartView::barHeight(0.01, 1, 100), 1);
    EXPECT_DOUBLE_EQ(BarChartView::barHeight(0, 0, 100), 0.5) << "all groups empty";
    EXPECT_DOUBLE_EQ(BarChartView::barHeight(1, 1, 100), 100);
    EXPECT_DOUBLE_EQ(BarChartView::barHeight(1, 1, 200), 120) << "capped";

    // maxLen only grows: smaller data later keeps the old scale.
    BarChartView view;
    view.setChartData({{0.5, QStringLiteral("a"), kRed}});
    view.calculate();
    view.setChartData({{0.25, QStringLiteral("a"), kRed}, {0.1, QStringLiteral("b"), kBlue}});
    view.calculate();
    EXPECT_FLOAT_EQ(view.maxLen(), 0.5f);
    EXPECT_EQ(view.numberOfBars(), 2);
}

TEST(BarChartViewTest, DrawsEachBarInItsColourFromTheFootOfTheView)
{
    BarChartView view;
    view.resize(200, 100);
    view.setChartData({{1.0, QString(), kRed}, {0.04, QString(), kBlue}, {0, QString(), kRed}});
    view.calculate();
    EXPECT_EQ(view.barRect(0), QRectF(5, 100 - 5 - 100, 26, 100));
    EXPECT_EQ(view.barRect(1), QRectF(37, 100 - 5 - 20, 26, 20));
    EXPECT_EQ(view.barRect(2), QRectF(69, 100 - 5 - 0.5, 26, 0.5));

    const QImage image = render(view);
    EXPECT_EQ(image.pixelColor(18, 50), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(50, 85), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(50, 70).alpha(), 0) << "nothing above the 20-point bar";
    EXPECT_EQ(image.pixelColor(50, 97).alpha(), 0) << "nothing below the bars' foot";
    EXPECT_EQ(image.pixelColor(3, 50).alpha(), 0) << "bars start 5 points in";
}

TEST(BarChartViewTest, LabelsClimbFromTheirAnchorAndTurnPartlyWhiteOverShortBars)
{
    BarChartView view;
    view.resize(100, 150);
    view.setChartData({{1.0, QStringLiteral("MMMMMMMM"), std::nullopt}});
    const QImage image = render(view);
    // The label's frame: x from 5 + 17 - 12 to 5 + 17, rising from 20 above the foot.
    int whiteInFrame = 0, paintedOutside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            // The frame, widened by the shadow's offset and spread.
            const bool inFrame = x >= 6 && x <= 26 && y <= 150 - 20 + 4 && y >= 150 - 20 - 100 - 4;
            if (c.alpha() > 0 && !inFrame)
                ++paintedOutside;
            if (inFrame && c.red() > 200 && c.green() > 200 && c.blue() > 200 && c.alpha() > 200)
                ++whiteInFrame;
        }
    EXPECT_GT(whiteInFrame, 20);
    EXPECT_EQ(paintedOutside, 0);

    // 30 points of bar give 35 - 20 = 15 points of room; a 60-point label of 6 characters
    // (10 each) keeps its first one white.
    EXPECT_EQ(BarChartView::whiteCharacterCount(QStringLiteral("123456"), 30, 60), 1);
    EXPECT_EQ(BarChartView::whiteCharacterCount(QStringLiteral("123456"), 30, 14), 6) << "fits";
    EXPECT_EQ(BarChartView::whiteCharacterCount(QStringLiteral("123456"), 10, 60), 6) << "no room rule";
}

class PopoverWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        app_.loadSettingsAndCatalogs();
        ExclusionList::setShared(std::make_shared<const ExclusionList>(QVariantMap{
            {QStringLiteral("Hard"), QVariantMap{{QStringLiteral("dirNotDelete"), QVariantList{QStringLiteral("/x")}}}}}));
        tree_.file(QStringLiteral("a.jpg"), 4000);
        tree_.file(QStringLiteral("b.png"), 1000);
        tree_.file(QStringLiteral("c.pdf"), 2000);
        tree_.file(QStringLiteral("d.mp3"), 0);
        app_.setParsingPath(tree_.path());
        app_.waitForScanToFinish();
    }
    void TearDown() override { TestSupport::setTestHome(previous_); }

    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    TestSupport::TempTree tree_;
    ScriptedUserInterface ui_;
    ImmediateScheduler scheduler_;
    AppDelegate app_{ui_, scheduler_};
};

TEST_F(PopoverWidgetTest, SummaryButtonOpensThePopoverWithTheSelectedFolder)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "offscreen has no status area";
    QMainWindow window;
    DockPopover popover(app_, scheduler_);
    TrayController tray(app_, &window, popover);
    ASSERT_FALSE(tray.hasTrayIcon());
    ASSERT_NE(tray.summaryAction(), nullptr);
    EXPECT_EQ(tray.summaryAction()->text(), QStringLiteral("Summary"));
    QToolBar* toolbar = window.addToolBar(QStringLiteral("main"));
    toolbar->addAction(tray.summaryAction());
    QObject::connect(tray.summaryAction(), &QAction::triggered, &tray,
                     [&] { tray.showPopoverUnder(toolbar->widgetForAction(tray.summaryAction())); });
    window.show();
    app_.updateSelectedTab(); // the report run that feeds the popover
    tray.summaryAction()->trigger();
    ASSERT_TRUE(popover.isVisible());

    EXPECT_EQ(popover.scanPathLabel()->text(), QStringLiteral("Scan Path: ") + app_.selectedFolder()->sPath());
    EXPECT_EQ(popover.usedSpaceLabel()->text(), QStringLiteral("Used Space: 7.00 KB"));
    // The overview lists documents first, then images.
    ASSERT_GE(popover.groupTable()->rowCount(), 4);
    EXPECT_EQ(popover.groupTable()->item(0, 0)->text(), QStringLiteral("Document Files"));
    EXPECT_EQ(popover.groupTable()->item(1, 0)->text(), QStringLiteral("Image Files"));
    EXPECT_EQ(popover.groupTable()->item(1, 1)->text(), QStringLiteral("5.00 KB"));
    ASSERT_EQ(popover.detailTable()->rowCount(), 4);
    EXPECT_EQ(popover.detailTable()->item(0, 0)->text(), QStringLiteral("1  a.jpg"));
    EXPECT_EQ(popover.detailTable()->item(3, 1)->text(), QStringLiteral("--"));
    EXPECT_TRUE(popover.tabButton(DockViewController::kTabAllFiles)->isSelectedLook());
    // The chart spans the popover (less its margins), so every bar is in sight.
    ASSERT_NE(popover.barChart(), nullptr);
    EXPECT_GE(popover.barChart()->width(), popover.width() - 30);
    if (const QByteArray dir = qgetenv("QUORVEL_SHOT_DIR"); !dir.isEmpty()) // a look at it by eye
        popover.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/popover.png"));

    // A group row shows its files and highlights the tab of its index: the images in row 1
    // light up the documents tab.
    QTest::mouseClick(popover.groupTable()->viewport(), Qt::LeftButton, {},
                      popover.groupTable()->visualItemRect(popover.groupTable()->item(1, 0)).center());
    EXPECT_EQ(popover.detailTable()->rowCount(), 2);
    EXPECT_TRUE(popover.tabButton(DockViewController::kTabDocuments)->isSelectedLook());
    EXPECT_TRUE(popover.groupTable()->selectedItems().isEmpty());

    // The tabs name the first four rows by position: the images tab shows row 0's files.
    QTest::mouseClick(popover.tabButton(DockViewController::kTabImages), Qt::LeftButton);
    EXPECT_EQ(popover.detailTable()->rowCount(), 1);
    EXPECT_EQ(popover.detailTable()->item(0, 0)->text(), QStringLiteral("1  c.pdf"));

    // The settings menu: Help, Preferences, a separator, Quit.
    const QList<QAction*> items = popover.settingsMenu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Help"));
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->text(), QStringLiteral("Quit"));

    // Preferences from the popover: the main window comes forward, then the preferences.
    bool preferences = false;
    QObject::connect(&tray, &TrayController::preferencesRequested, &tray, [&] { preferences = true; });
    window.hide();
    items[1]->trigger();
    EXPECT_TRUE(preferences);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(popover.isVisible());
}

TEST_F(PopoverWidgetTest, TheBiggestFilesAppearWhenTheirDelayedLoadRuns)
{
    // The program's own scheduler: the files load half a second after the chart.
    TimerScheduler timers;
    DockPopover popover(app_, timers);
    app_.updateSelectedTab();
    popover.refreshFromController();
    popover.show();
    EXPECT_EQ(popover.detailTable()->rowCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return popover.detailTable()->rowCount() == 4; }, 3000))
        << "the open popover shows the files once they are loaded";
    ASSERT_GT(popover.detailTable()->rowCount(), 0);
    EXPECT_EQ(popover.detailTable()->item(0, 0)->text(), QStringLiteral("1  a.jpg"));
    EXPECT_TRUE(popover.tabButton(DockViewController::kTabAllFiles)->isSelectedLook());
}

TEST_F(PopoverWidgetTest, PopoverFollowsATrashInTheMainWindow)
{
    DockPopover popover(app_, scheduler_);
    app_.updateSelectedTab();
    popover.refreshFromController();
    ASSERT_EQ(popover.usedSpaceLabel()->text(), QStringLiteral("Used Space: 7.00 KB"));
    TFoldInfo* biggest = nullptr;
    for (TFoldInfo* node : app_.selectedFolder()->SubList())
        if (node->sName() == QLatin1String("a.jpg"))
            biggest = node;
    ASSERT_NE(biggest, nullptr);
    ui_.answers.push_back(true);
    app_.performMoveToTrashFiles({biggest});
    ASSERT_FALSE(QFileInfo::exists(tree_.at(QStringLiteral("a.jpg"))));
    popover.show();
    EXPECT_EQ(popover.usedSpaceLabel()->text(), QStringLiteral("Used Space: 3.00 KB"));
    EXPECT_EQ(popover.detailTable()->rowCount(), 3);
}

} // namespace

namespace {

TEST_F(PopoverWidgetTest, ANewReportUnitShowsAtTheNextOpening)
{
    DockPopover popover(app_, scheduler_);
    app_.updateSelectedTab();
    popover.refreshFromController();
    ASSERT_EQ(popover.usedSpaceLabel()->text(), QStringLiteral("Used Space: 7.00 KB"));

    // The display unit pane stores the unit for every report, then tells the controller.
    SettingsStore::setValue(QStringLiteral("allDiskReports"), CommonFuncs::Bytes);
    app_.displayUnitDidChange(0);
    popover.show();
    EXPECT_EQ(popover.usedSpaceLabel()->text(), QStringLiteral("Used Space: 7000 Bytes"));
    EXPECT_FALSE(app_.shouldRefresh());
    SettingsStore::setValue(QStringLiteral("allDiskReports"), CommonFuncs::Automatic);
    app_.displayUnitDidChange(0);
}

} // namespace
