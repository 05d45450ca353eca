#include "app/AppDelegateFixture.h"
#include "app/TimerScheduler.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/Paths.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

class ControllerReactions : public AppDelegateFixture {
protected:
    void SetUp() override
    {
        AppDelegateFixture::SetUp();
        tree_.file(QStringLiteral("a/a1/x.bin"), 4000);
        tree_.file(QStringLiteral("a/a2/y.bin"), 3000);
        tree_.file(QStringLiteral("b/b1/z.bin"), 2000);
        tree_.file(QStringLiteral("c/w.bin"), 1000);
        root_ = scanTree();
        ASSERT_NE(root_, nullptr);
    }
    TFoldInfo* node(const QString& relative)
    {
        TFoldInfo* n = root_;
        for (const QString& part : relative.split(QLatin1Char('/')))
            n = n ? child(n, part) : nullptr;
        return n;
    }
    TFoldInfo* root_ = nullptr;
};

// What one display-unit code redrew.
struct Redraws {
    int reports = 0, statusBar = 0, tree = 0, topFiles = 0;
    bool operator==(const Redraws&) const = default;
};

} // namespace

// Each code redraws what its unit shows, and only the reports' unit marks the tray
// popover; with the overview current its file list is redrawn as well. Each change is
// logged.
TEST_F(ControllerReactions, DisplayUnitCodesRedrawWhatTheirUnitShows)
{
    const QString logPath = Paths::logFile();
    QFile::remove(logPath);
    ASSERT_TRUE(Log::setSink(Log::Sink::LogFile));

    const auto run = [&](int code) {
        QSignalSpy reports(&app_, &AppDelegate::reportTableReload);
        QSignalSpy status(&app_, &AppDelegate::statusBarChanged);
        QSignalSpy tree(&app_, &AppDelegate::folderTreeTextsChanged);
        QSignalSpy topFiles(&app_, &AppDelegate::topSizeFilesChanged);
        QSignalSpy reloads(&app_, &AppDelegate::folderTreeReloaded);
        app_.setShouldRefresh(false);
        app_.displayUnitDidChange(code);
        EXPECT_EQ(reloads.count(), 0) << "a unit change keeps the tree's rows";
        return Redraws{int(reports.count()), int(status.count()), int(tree.count()), int(topFiles.count())};
    };
    app_.btnFileSizeTapped();
    EXPECT_EQ(run(0), (Redraws{1, 0, 0, 0}));
    EXPECT_TRUE(app_.shouldRefresh());
    EXPECT_EQ(run(1), (Redraws{0, 1, 0, 0}));
    EXPECT_FALSE(app_.shouldRefresh());
    EXPECT_EQ(run(2), (Redraws{0, 0, 1, 0}));
    EXPECT_EQ(run(3), (Redraws{1, 1, 1, 0}));
    EXPECT_EQ(run(4), (Redraws{1, 1, 1, 0}));
    EXPECT_FALSE(app_.shouldRefresh());
    EXPECT_EQ(run(7), (Redraws{0, 0, 0, 0}));

    app_.btnOverviewTapped();
    EXPECT_EQ(run(1), (Redraws{0, 1, 0, 1}));
    EXPECT_EQ(run(0), (Redraws{1, 0, 0, 1}));
    // The folder tree's reload keeps the selection.
    EXPECT_EQ(app_.selectedFolder(), root_);

    Log::setSink(Log::Sink::Discard);
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()).count(QStringLiteral("displayUnitDidChange:\n")), 8);
}

// Collapsing a node whose row lies above the selected one selects it, whether or not the
// selection lies beneath it; collapsing below the selection, or the selection itself,
// leaves it.
TEST_F(ControllerReactions, CollapsingANodeAboveTheSelectionSelectsIt)
{
    // Shown rows, all expanded: root, a, a1, a2, b, b1, c.
    for (const char* folder : {"a", "b"})
        app_.setItemExpanded(node(QLatin1String(folder)), true);
    TFoldInfo* a = node(QStringLiteral("a"));
    TFoldInfo* b = node(QStringLiteral("b"));
    TFoldInfo* c = node(QStringLiteral("c"));
    EXPECT_EQ(app_.visibleRowInFolderTree(node(QStringLiteral("b/b1"))), 5);
    EXPECT_EQ(app_.visibleRowInFolderTree(c), 6);

    app_.outlineViewSelectionDidChange(c);
    QSignalSpy selections(&app_, &AppDelegate::selectTreeRow);
    app_.outlineViewItemWillCollapse(a); // above, not an ancestor
    EXPECT_EQ(app_.selectedFolder(), a);
    ASSERT_EQ(selections.count(), 1);

    app_.outlineViewItemWillCollapse(b); // below the selection
    EXPECT_EQ(app_.selectedFolder(), a);
    app_.outlineViewItemWillCollapse(a); // the selection itself
    EXPECT_EQ(app_.selectedFolder(), a);
    EXPECT_EQ(selections.count(), 1);

    // The ancestor case: the selection inside a branch that collapses.
    app_.setItemExpanded(b, true);
    app_.outlineViewSelectionDidChange(node(QStringLiteral("b/b1")));
    app_.outlineViewItemWillCollapse(b);
    EXPECT_EQ(app_.selectedFolder(), b);
}

// The report's waiting panel opens before it closes, with a scheduler that runs the work
// at once and with the windows' timers alike.
TEST_F(ControllerReactions, WaitingPanelOpensBeforeItClosesWithAnyScheduler)
{
    QStringList order;
    QObject::connect(&app_, &AppDelegate::reportProgressOpened, &app_, [&] { order.append(QStringLiteral("open")); });
    QObject::connect(&app_, &AppDelegate::reportProgressClosed, &app_, [&] { order.append(QStringLiteral("close")); });
    app_.btnFileTypesTapped();
    EXPECT_EQ(order, (QStringList{QStringLiteral("open"), QStringLiteral("close")}));

    TimerScheduler timers;
    AppDelegate windowed(ui_, timers);
    QStringList windowedOrder;
    QObject::connect(&windowed, &AppDelegate::reportProgressOpened, &windowed, [&] { windowedOrder.append(QStringLiteral("open")); });
    QObject::connect(&windowed, &AppDelegate::reportProgressClosed, &windowed, [&] { windowedOrder.append(QStringLiteral("close")); });
    windowed.btnFileSizeTapped();
    EXPECT_EQ(windowedOrder, QStringList{QStringLiteral("open")}); // the report waits for the loop
    QSignalSpy closed(&windowed, &AppDelegate::reportProgressClosed);
    EXPECT_TRUE(closed.wait(5000));
    EXPECT_EQ(windowedOrder, (QStringList{QStringLiteral("open"), QStringLiteral("close")}));
}

// The timers run queued work on the loop, in order of their delays, never inside
// schedule(); work still queued when the scheduler goes away is dropped.
TEST(TimerSchedulerTest, RunsWorkFromTheLoopAndDropsItWithTheScheduler)
{
    QStringList ran;
    {
        TimerScheduler timers;
        timers.schedule(std::chrono::milliseconds(30), [&] { ran.append(QStringLiteral("late")); });
        timers.schedule(std::chrono::milliseconds(0), [&] { ran.append(QStringLiteral("soon")); });
        EXPECT_TRUE(ran.isEmpty());
        for (int waited = 0; ran.size() < 2 && waited < 5000; waited += 5)
            QTest::qWait(5);
        EXPECT_EQ(ran, (QStringList{QStringLiteral("soon"), QStringLiteral("late")}));
        timers.schedule(std::chrono::milliseconds(0), [&] { ran.append(QStringLiteral("dropped")); });
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ran.size(), 2);
}

// The first scan leaves the overview current with its file list on row 0; the file
// actions follow that row at once.
TEST_F(ControllerReactions, FirstScanEnablesTheFileActionsForTheOverviewsFirstFile)
{
    ASSERT_EQ(app_.currentReportIndex(), ReportIndex::Overview);
    ASSERT_EQ(app_.selectedTopSizeFileRow(), 0);
    ASSERT_FALSE(app_.reports().arrTopSizeFiles().front()->isNonDeleteableFile());
    EXPECT_TRUE(app_.fileActionButtonsEnabled());
}

// A volume without stored access is asked about with the buttons "ID_CHOOSE" (default)
// and "ID_CANCEL"; cancelling scans nothing.
TEST_F(ControllerReactions, VolumeQuestionOffersChooseAndCancel)
{
    DriveNode drive;
    drive.path = tree_.at(QStringLiteral("no-such-volume"));
    ui_.answers = {false};
    app_.scanForDrive(drive);
    ASSERT_EQ(ui_.buttonTitles.size(), 1);
    EXPECT_EQ(ui_.buttonTitles.front(), (QStringList{text("ID_CHOOSE"), text("ID_CANCEL")}));
    EXPECT_EQ(ui_.questions, QStringList{text("ID_PERMISSION_FOR_DRIVE")});
    EXPECT_TRUE(ui_.chooserStarts.isEmpty());
    EXPECT_EQ(app_.arrParseResult().size(), 1u);
}

// A root at "/" reads "/" and the volume's name in the status bar and the popover's path,
// not "//".
TEST_F(ControllerReactions, RootOfTheFileSystemShowsTheVolumesName)
{
    // Everything at "/" excluded: the scan of "/" is instant and its root empty.
    QVariantList everything;
    for (const QString& entry : QDir(QStringLiteral("/")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        everything.append(QStringLiteral("/") + entry);
    ExclusionList::setShared(std::make_shared<const ExclusionList>(QVariantMap{
        {QStringLiteral("Hard"), QVariantMap{{QStringLiteral("dirPath"), everything}}}}));
    DriveNode system;
    system.path = QStringLiteral("/");
    system.name = QStringLiteral("/"); // no label
    app_.setDiskDrives({system});
    ASSERT_TRUE(app_.setParsingPath(QStringLiteral("/")));
    app_.waitForScanToFinish();
    ASSERT_EQ(app_.selectedFolder()->sPath(), QStringLiteral("/"));
    EXPECT_EQ(app_.statusBarPath(), QStringLiteral("/") + text("ID_STARTUP_DISK"));
    EXPECT_EQ(SettingsStore::value(QStringLiteral("scanpath_nag")).toString(), app_.statusBarPath());

    system.name = QStringLiteral("System");
    app_.setDiskDrives({system});
    app_.updateStatusBarOption();
    EXPECT_EQ(app_.statusBarPath(), QStringLiteral("/System"));
    EXPECT_EQ(SettingsStore::value(QStringLiteral("scanpath_nag")).toString(), QStringLiteral("/System"));
}
