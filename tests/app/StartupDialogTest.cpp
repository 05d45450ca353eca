#include "app/AppDelegate.h"
#include "app/InitailWindowViewController.h"
#include "app/ScriptedUserInterface.h"
#include "common/TestSupport.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"

#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class StartupDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        app_.loadSettingsAndCatalogs();
        ExclusionList::setShared(std::make_shared<const ExclusionList>(QVariantMap{}));
    }
    void TearDown() override { TestSupport::setTestHome(previous_); }
    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    ScriptedUserInterface ui_;
    ImmediateScheduler scheduler_;
    AppDelegate app_{ui_, scheduler_};
};

} // namespace

TEST_F(StartupDialog, HomeRowIsRecommendedAndChosen)
{
    InitailWindowViewController dialog(app_, ui_);
    ASSERT_EQ(dialog.arrDiskDrive().size(), 1u);
    EXPECT_EQ(dialog.arrDiskDrive()[0].path, home_.path());
    const auto row = dialog.rowTexts(0);
    EXPECT_TRUE(row.radioOn);
    EXPECT_EQ(row.radioImage, QStringLiteral("big_select_radio.png"));
    EXPECT_EQ(row.lblDiskAvailSize, CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_SCAN_RECOMMENDED")));
    EXPECT_EQ(row.lblDiskSize, CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_USER_FOLDER")));
    EXPECT_EQ(row.usage, 0.0);
    EXPECT_EQ(dialog.tableHeight(), 53);
    EXPECT_EQ(dialog.windowHeight(), 253);
}

TEST_F(StartupDialog, ClosingQuitsOnlyBeforeTheFirstScan)
{
    InitailWindowViewController dialog(app_, ui_);
    QSignalSpy quit(&dialog, &InitailWindowViewController::quitRequested);
    QSignalSpy close(&dialog, &InitailWindowViewController::closeRequested);
    dialog.btnCloseAppTapped();
    EXPECT_EQ(close.count(), 1);
    EXPECT_EQ(quit.count(), 1);

    TestSupport::TempTree t;
    t.file(QStringLiteral("a.txt"), 5);
    ui_.folders = {t.path()};
    dialog.btnScanFolderTapped();
    app_.waitForScanToFinish();
    ASSERT_EQ(app_.arrParseResult().size(), 1u);
    EXPECT_EQ(app_.arrParseResult()[0]->sPath(), t.path());
    dialog.btnCloseAppTapped();
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(StartupDialog, StartScansTheReadableHomeFolder)
{
    QDir().mkpath(home_.path() + QStringLiteral("/Music"));
    InitailWindowViewController dialog(app_, ui_);
    dialog.btnStartScanTapped();
    app_.waitForScanToFinish();
    EXPECT_TRUE(ui_.chooserStarts.isEmpty());
    ASSERT_EQ(app_.arrParseResult().size(), 1u);
    EXPECT_EQ(app_.arrParseResult()[0]->sPath(), home_.path());
    EXPECT_TRUE(dialog.startButtonEnabled());
    EXPECT_TRUE(app_.isScannedSomeThing());
}

TEST_F(StartupDialog, PermissionPanelOnlyAcceptsTheAskedFolder)
{
    // A home that cannot be read needs the permission panel.
    const QString missingHome = home_.path() + QStringLiteral("/Gone");
    TestSupport::setTestHome(home_.path());
    ::setenv("HOME", QFile::encodeName(missingHome).constData(), 1);
    InitailWindowViewController dialog(app_, ui_);
    ui_.folders = {home_.path()};
    dialog.btnStartScanTapped();
    EXPECT_EQ(ui_.chooserStarts, QStringList{missingHome});
    EXPECT_TRUE(app_.arrParseResult().empty());
    EXPECT_TRUE(dialog.startButtonEnabled());
    ::setenv("HOME", QFile::encodeName(home_.path()).constData(), 1);
}
