// The start-up dialog and the progress sheet of a scan started from it.

#include "UiFixture.h"

#include "app/InitailWindowViewController.h"
#include "scan/TFolderScanner.h"
#include "settings/CommonFuncs.h"
#include "settings/Paths.h"
#include "ui/FolderTreeModel.h"
#include "ui/FolderTreeView.h"
#include "ui/ProgressSheet.h"
#include "ui/StartupDialog.h"
#include "ui/StatusBarPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <atomic>
#include <chrono>
#include <thread>

class StartupDialogUi : public UiFixture {};

TEST_F(StartupDialogUi, OpensAfterLaunchWithTheControllersRows)
{
    launch(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().startupDialog() && window().startupDialog()->isVisible(); }, 5000))
        << "the dialog opens 1.2 s after launch";
    StartupDialog& dialog = *window().startupDialog();
    InitailWindowViewController& controller = dialog.controller();
    ASSERT_EQ(dialog.rowCount(), int(controller.arrDiskDrive().size()));
    ASSERT_EQ(dialog.rowCount(), 1);
    EXPECT_EQ(dialog.rowWidget(0)->height(), 53);
    EXPECT_EQ(dialog.height(), controller.windowHeight());
    EXPECT_EQ(controller.windowHeight(), 53 + 200);
    EXPECT_TRUE(dialog.isModal() || dialog.windowModality() != Qt::NonModal);
    auto* radio = dialog.rowWidget(0)->findChild<QRadioButton*>();
    ASSERT_NE(radio, nullptr);
    EXPECT_TRUE(radio->isChecked()) << "the home folder row is chosen";
    // The home row carries the recommended hint.
    bool hinted = false;
    for (QLabel* label : dialog.rowWidget(0)->findChildren<QLabel*>())
        hinted = hinted || label->text() == CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_SCAN_RECOMMENDED"));
    EXPECT_TRUE(hinted);
    EXPECT_EQ(dialog.startButton()->text(), InitailWindowViewController::startButtonTitle());
    EXPECT_TRUE(dialog.startButton()->isEnabled());
    if (const QByteArray dir = qgetenv("QUORVEL_SHOT_DIR"); !dir.isEmpty()) // a look at it by eye
        dialog.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/startup-dialog.png"));
}

TEST_F(StartupDialogUi, ClosingBeforeAnyScanQuitsTheApplication)
{
    launch(false);
    window().showStartupDialog();
    QSignalSpy quit(desktop_.get(), &DesktopApp::quitRequested);
    QTest::mouseClick(window().startupDialog()->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(window().startupDialog()->isVisible());
    EXPECT_EQ(quit.count(), 1);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(StartupDialogUi, ClosingAfterAScanKeepsTheApplication)
{
    tree_.file(QStringLiteral("a/b.bin"), 100);
    ASSERT_NE(scanTree(), nullptr);
    window().showStartupDialog();
    ASSERT_TRUE(window().startupDialog()->isVisible());
    QSignalSpy quit(desktop_.get(), &DesktopApp::quitRequested);
    QTest::keyClick(window().startupDialog(), Qt::Key_Escape);
    EXPECT_FALSE(window().startupDialog()->isVisible());
    EXPECT_EQ(quit.count(), 0);
    EXPECT_TRUE(window().isVisible());
}

// A scan of the home folder from the dialog's Start button, held at a known folder so the
// progress sheet can be read, then cancelled: the partial tree is entered and selected.
TEST_F(StartupDialogUi, ScanFromTheDialogShowsProgressAndCancels)
{
    const QString home = Paths::home();
    for (int i = 0; i < 70; ++i)
        QDir().mkpath(home + QStringLiteral("/data/d%1/inner").arg(i, 2, 10, QLatin1Char('0')));
    launch(false);
    window().showStartupDialog();
    StartupDialog* dialog = window().startupDialog();

    std::atomic<int> folders{0};
    std::atomic<bool> held{false};
    app().folderScanner().setNodeAddedCallback([&](const TFoldInfo& node) {
        // A report goes out when a folder is entered at a count that is a multiple of 20:
        // by the 125th folder (the 70 d* and 55 of their inner folders) some have.
        if (!node.isFolder() || ++folders != 125)
            return;
        held = true; // wait for Cancel
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!isScanAborted().load() && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });

    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible()) << "the dialog closes when its scan starts";
    ProgressSheet* sheet = window().progressSheet();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sheet->isVisible() && held.load(); }, 10000));
    static const QRegularExpression summary(QStringLiteral("^(\\d+) Folders Scanned$"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return summary.match(sheet->summaryText()).captured(1).toInt() >= 20; }, 5000))
        << sheet->summaryText().toStdString();
    EXPECT_TRUE(sheet->pathText().startsWith(home)) << sheet->pathText().toStdString();
    EXPECT_GE(sheet->barValue(), 0);
    EXPECT_LT(sheet->barValue(), 95);
    EXPECT_TRUE(app().isScanning());
    if (const QByteArray dir = qgetenv("QUORVEL_SHOT_DIR"); !dir.isEmpty()) // a look at it by eye
        sheet->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/progress-sheet.png"));

    QTest::mouseClick(sheet->cancelButton(), Qt::LeftButton);
    ASSERT_TRUE(waitForIdle());
    EXPECT_FALSE(sheet->isVisible());
    TFoldInfo* root = app().selectedFolder();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->sPath(), home);
    EXPECT_EQ(window().folderTree()->selectedNode(), root);
    EXPECT_EQ(window().statusPanel()->pathText(), home);
    EXPECT_TRUE(app().isScannedSomeThing());
    app().folderScanner().setNodeAddedCallback({});
}
