// The preferences window and its four panes, offscreen.

#include "GuiFixture.h"
#include "preferences/CustomTypeFilterViewController.h"
#include "preferences/DisplayUnitViewController.h"
#include "preferences/ExcludeViewController.h"
#include "preferences/MiscFilterViewController.h"
#include "preferences/PreferencesWindowController.h"
#include "settings/CommonFuncs.h"
#include "settings/ExclusionList.h"
#include "settings/GeneralLib.h"
#include "settings/Plist.h"
#include "settings/PreferencePanes.h"
#include "settings/SettingsStore.h"
#include "settings/TypeCatalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QIcon>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

class Preferences : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        PreferenceChangeFlags::clear();
    }
    void TearDown() override
    {
        delete PreferencesWindowController::sharedWindow();
        AppDelegateFixture::TearDown();
    }

    // A window of its own (not the shared one), shown and settled.
    std::unique_ptr<PreferencesWindowController> makeWindow()
    {
        auto window = std::make_unique<PreferencesWindowController>(app_, ui_);
        window->move(500, 200);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    template <class Pane>
    Pane* pane(PreferencesWindowController& window, int index)
    {
        return qobject_cast<Pane*>(window.viewControllers().at(index));
    }

    // Waits until the selected pane's view is in the window.
    static void settle(PreferencesWindowController& window)
    {
        QTRY_VERIFY(window.selectedViewController()->isVisible());
    }
};

} // namespace

TEST_F(Preferences, OneWindowRemembersItsPaneAlsoAfterARestart)
{
    PreferencesWindowController* first = PreferencesWindowController::btnSettingsTapped(app_, ui_);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->selectedIndex(), 0);
    EXPECT_EQ(first->windowTitle(), text("ID_DISPLAY_UNIT"));
    first->setSelectedViewController(first->viewControllerWithIdentifier(QStringLiteral("Custom Filter")));
    EXPECT_EQ(first->windowTitle(), text("ID_CUSTOM_FILTER"));
    first->close();

    PreferencesWindowController* again = PreferencesWindowController::btnSettingsTapped(app_, ui_);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->selectedIndex(), 2);

    // A new run reads the remembered pane back; an unknown one gives the first pane.
    delete again;
    EXPECT_EQ(PreferencesWindowController::sharedWindow(), nullptr);
    PreferencesWindowController* restarted = PreferencesWindowController::btnSettingsTapped(app_, ui_);
    EXPECT_EQ(restarted->selectedIndex(), 2);
    EXPECT_EQ(restarted->windowTitle(), text("ID_CUSTOM_FILTER"));
    SettingsStore::setValue(SettingsKeys::preferencesSelectedItem, QStringLiteral("Advanced"));
    EXPECT_EQ(makeWindow()->selectedIndex(), 0);
}

TEST_F(Preferences, SwitchingPanesResizesAroundTheTopEdgeAndCentre)
{
    auto window = makeWindow();
    settle(*window);
    const QRect before = window->geometry();
    EXPECT_EQ(window->centralWidget()->size(), window->selectedViewController()->paneSize());

    window->selectPaneAt(1); // Exclude: larger
    const QSize from = window->viewControllers()[0]->paneSize();
    const QSize to = window->viewControllers()[1]->paneSize();
    EXPECT_EQ(window->lastResizeDuration(), int(PreferencePanes::resizeDuration(from, to) * 1000 + 0.5));
    EXPECT_EQ(window->resizeAnimation()->duration(), window->lastResizeDuration());
    EXPECT_FALSE(window->viewControllers()[1]->isVisible()); // put in after the animation
    settle(*window);
    const QRect after = window->geometry();
    EXPECT_EQ(after.top(), before.top());
    EXPECT_LE(std::abs(after.center().x() - before.center().x()), 1) << before.x() << "," << before.width() << " -> " << after.x() << "," << after.width();
    EXPECT_EQ(window->centralWidget()->size(), to);
    EXPECT_EQ(window->windowTitle(), text("ID_EXCLUDE"));
    EXPECT_EQ(SettingsStore::stringForKey(SettingsKeys::preferencesSelectedItem), QStringLiteral("Exclude"));
}

TEST_F(Preferences, EachDisplayUnitChangeStoresItsKeyAndReachesTheMainWindow)
{
    tree_.file(QStringLiteral("a.bin"), 123456);
    scanTree();
    app_.btnFileSizeTapped();
    auto window = makeWindow();
    auto* units = pane<DisplayUnitViewController>(*window, 0);
    ASSERT_NE(units, nullptr);
    ASSERT_EQ(units->folderTree()->count(), 5);
    EXPECT_EQ(units->folderTree()->itemText(2), text("ID_KB"));
    QSignalSpy reports(&app_, &AppDelegate::reportTableReload);
    QSignalSpy statusBar(&app_, &AppDelegate::statusBarChanged);
    QSignalSpy folderTree(&app_, &AppDelegate::folderTreeTextsChanged);
    const auto counts = [&] { return QList<qsizetype>{reports.count(), statusBar.count(), folderTree.count()}; };

    // Each pop-up stores its code, and the main window redraws what shows that unit.
    app_.setShouldRefresh(false);
    units->allDiskReports()->setCurrentIndex(3);
    Q_EMIT units->allDiskReports()->activated(3);
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::allDiskReports), 3);
    EXPECT_EQ(GeneralLib::cache().allDiskReports, 3);
    EXPECT_EQ(counts(), (QList<qsizetype>{1, 0, 0}));
    EXPECT_TRUE(app_.shouldRefresh());

    Q_EMIT units->diskReportSummary()->activated(2);
    EXPECT_EQ(GeneralLib::cache().diskReportSummary, 2);
    EXPECT_EQ(counts(), (QList<qsizetype>{1, 1, 0}));
    Q_EMIT units->folderTree()->activated(4);
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::folderTree), 4);
    EXPECT_EQ(counts(), (QList<qsizetype>{1, 1, 1}));

    // The decimal places and the reset redraw all three.
    units->decimalPlaces()->setValue(4);
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::decimalPlaces), 4);
    EXPECT_EQ(GeneralLib::cache().decimalPlaces, 4);
    EXPECT_EQ(counts(), (QList<qsizetype>{2, 2, 2}));
    QTest::mouseClick(units->resetButton(), Qt::LeftButton);
    EXPECT_EQ(units->allDiskReports()->currentIndex(), 0);
    EXPECT_EQ(units->decimalPlaces()->value(), GeneralLib::defaultSettings().value(QStringLiteral("decimalPlaces")).toInt());
    EXPECT_EQ(GeneralLib::cache().allDiskReports, 0);
    EXPECT_EQ(counts(), (QList<qsizetype>{3, 3, 3}));
}

TEST_F(Preferences, ExcludePaneAddsRemovesAndResetsOnTheRealFile)
{
    ExclusionList::loadShared(); // writes the default file
    QVariantMap dict = Plist::readDictionary(ExclusionList::filePath());
    dict.insert(QStringLiteral("Mine"), QStringLiteral("kept"));
    ASSERT_TRUE(Plist::writeFile(ExclusionList::filePath(), dict));
    auto window = makeWindow();
    auto* exclude = pane<ExcludeViewController>(*window, 1);
    const int defaults = exclude->pathsTable()->count();
    ASSERT_GT(defaults, 0);
    QStringList answers{tree_.path(), QString(), tree_.file(QStringLiteral("big.iso"), 1)};
    exclude->setPathChooser([&answers](QWidget*, bool) { return answers.takeFirst(); });

    QTest::mouseClick(exclude->addPathButton(), Qt::LeftButton);
    QTest::mouseClick(exclude->addPathButton(), Qt::LeftButton); // cancelled: nothing
    QTest::mouseClick(exclude->addFileButton(), Qt::LeftButton);
    ASSERT_EQ(exclude->pathsTable()->count(), defaults + 1);
    EXPECT_EQ(exclude->pathsTable()->item(defaults)->text(), tree_.path());
    EXPECT_FALSE(exclude->pathsTable()->item(defaults)->icon().isNull());
    ASSERT_EQ(exclude->filesTable()->count(), 1);
    EXPECT_TRUE(ExclusionList::shared()->isExcludedDirectory(tree_.path() + QStringLiteral("/x")));
    EXPECT_EQ(Plist::readDictionary(ExclusionList::filePath()).value(QStringLiteral("Mine")).toString(), QStringLiteral("kept"));

    // Selecting in one table enables its Remove button only.
    EXPECT_FALSE(exclude->removePathButton()->isEnabled());
    exclude->filesTable()->setCurrentRow(0);
    EXPECT_TRUE(exclude->removeFileButton()->isEnabled());
    exclude->pathsTable()->setCurrentRow(0);
    EXPECT_TRUE(exclude->removePathButton()->isEnabled());
    EXPECT_FALSE(exclude->removeFileButton()->isEnabled());
    EXPECT_EQ(exclude->filesTable()->currentRow(), -1);
    exclude->pathsTable()->setCurrentRow(defaults);
    QTest::mouseClick(exclude->removePathButton(), Qt::LeftButton);
    EXPECT_EQ(exclude->pathsTable()->count(), defaults);
    EXPECT_FALSE(exclude->removePathButton()->isEnabled());
    EXPECT_FALSE(ExclusionList::shared()->isExcludedDirectory(tree_.path() + QStringLiteral("/x")));

    QTest::mouseClick(exclude->resetButton(), Qt::LeftButton);
    EXPECT_EQ(exclude->filesTable()->count(), 0);
    EXPECT_EQ(Plist::readDictionary(ExclusionList::filePath()), ExclusionList::defaultExclusionDict());
}

TEST_F(Preferences, CustomFilterSheetKeepsOpenWithItsAlertAndDoesNotReloadTheTree)
{
    tree_.file(QStringLiteral("a.bin"), 10);
    scanTree();
    auto window = makeWindow();
    auto* custom = pane<CustomTypeFilterViewController>(*window, 2);
    const int groups = custom->table()->rowCount();
    ASSERT_GT(groups, 0);
    EXPECT_FALSE(custom->editButton()->isEnabled());

    QTest::mouseClick(custom->addButton(), Qt::LeftButton);
    ASSERT_TRUE(custom->sheet()->isVisible());
    EXPECT_EQ(custom->sheet()->saveButton()->text(), text("ID_ADD"));
    QTest::keyClicks(custom->sheet()->typesField(), QStringLiteral("iso,img"));
    QTest::mouseClick(custom->sheet()->saveButton(), Qt::LeftButton);
    EXPECT_EQ(ui_.alerts, QStringList{text("ID_PLZ_ENTER_FILTER_NAME")});
    EXPECT_TRUE(custom->sheet()->isVisible());
    QTest::keyClicks(custom->sheet()->nameField(), QStringLiteral("Disk images"));
    QTest::mouseClick(custom->sheet()->saveButton(), Qt::LeftButton);
    EXPECT_FALSE(custom->sheet()->isVisible());
    ASSERT_EQ(custom->table()->rowCount(), groups + 1);
    EXPECT_EQ(custom->table()->item(groups, 1)->text(), QStringLiteral("iso,img"));

    // Edit: the name is fixed, the types change.
    custom->table()->selectRow(groups);
    ASSERT_TRUE(custom->editButton()->isEnabled());
    QTest::mouseClick(custom->editButton(), Qt::LeftButton);
    EXPECT_FALSE(custom->sheet()->nameField()->isEnabled());
    EXPECT_EQ(custom->sheet()->saveButton()->text(), text("ID_SAVE"));
    custom->sheet()->typesField()->setText(QStringLiteral("qcow2"));
    QTest::mouseClick(custom->sheet()->saveButton(), Qt::LeftButton);
    EXPECT_EQ(custom->table()->item(groups, 1)->text(), QStringLiteral("qcow2"));

    // Delete without a selection gives its alert.
    custom->table()->clearSelection();
    QTest::mouseClick(custom->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(ui_.alerts.last(), text("ID_PLZ_SELECT_FILTER_REMOVE_FRM_LIST"));

    // Back on the main window: the catalog reloads, the folder tree does not.
    EXPECT_TRUE(PreferenceChangeFlags::customFilterChanged());
    QSignalSpy tree(&app_, &AppDelegate::folderTreeTextsChanged);
    PreferencesWindowController::applyPendingChanges(app_);
    EXPECT_EQ(tree.count(), 0);
    EXPECT_TRUE(std::any_of(TypeCatalog::loadedGroups().cbegin(), TypeCatalog::loadedGroups().cend(),
                            [](const TypeGroup& g) { return g.name == QLatin1String("Disk images"); }));
    EXPECT_FALSE(PreferenceChangeFlags::customFilterChanged());
}

TEST_F(Preferences, MiscChangesReloadTheFolderTreeOnReturnToTheMainWindow)
{
    tree_.file(QStringLiteral("a.bin"), 10);
    scanTree();
    auto window = makeWindow();
    auto* misc = pane<MiscFilterViewController>(*window, 3);
    EXPECT_EQ(misc->bigFilesSize()->value(), 50);

    misc->bigFilesSize()->setValue(700);
    misc->oldFilesTimeUnit()->setCurrentIndex(2);
    Q_EMIT misc->oldFilesTimeUnit()->activated(2);
    misc->showEmptyFolders()->click();
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::bigFilesSize), 700);
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::oldFilesTimeUnit), 2);
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::showEmptyFolders), 1);
    EXPECT_TRUE(PreferenceChangeFlags::miscChanged());
    EXPECT_EQ(GeneralLib::cache().bigFilesSize, 50); // applied later, on the main window

    QSignalSpy tree(&app_, &AppDelegate::folderTreeTextsChanged);
    PreferencesWindowController::applyPendingChanges(app_);
    EXPECT_GE(tree.count(), 1);
    EXPECT_EQ(GeneralLib::cache().bigFilesSize, 700);
    EXPECT_TRUE(GeneralLib::cache().showEmptyFolders);
    EXPECT_FALSE(PreferenceChangeFlags::miscChanged());

    // The scan options are stored at once and need nothing applied: the next scan reads them.
    misc->scanHiddenFolders()->click();
    misc->stayOnOneFileSystem()->click();
    EXPECT_TRUE(GeneralLib::folderScanOptions().scanHiddenFolders);
    EXPECT_TRUE(GeneralLib::folderScanOptions().stayOnOneFileSystem);
    EXPECT_FALSE(PreferenceChangeFlags::miscChanged());

    QTest::mouseClick(misc->resetButton(), Qt::LeftButton);
    EXPECT_EQ(misc->bigFilesSize()->value(), 50);
    EXPECT_FALSE(misc->showEmptyFolders()->isChecked());
    EXPECT_FALSE(misc->scanHiddenFolders()->isChecked());
    EXPECT_FALSE(GeneralLib::folderScanOptions().stayOnOneFileSystem);
    EXPECT_TRUE(PreferenceChangeFlags::miscChanged());
    // The settings button clears what was collected.
    PreferencesWindowController::btnSettingsTapped(app_, ui_);
    EXPECT_FALSE(PreferenceChangeFlags::miscChanged());
}

// Each pane renders inside the window at its size (and, with QUORVEL_SCREENSHOT_DIR set,
// leaves a PNG per pane there to look at).
TEST_F(Preferences, EveryPaneRendersInsideTheWindow)
{
    auto window = makeWindow();
    for (int index = 0; index < int(window->viewControllers().size()); ++index) {
        window->selectPaneAt(index);
        settle(*window);
        PreferencePaneView* pane = window->selectedViewController();
        EXPECT_EQ(window->centralWidget()->size(), pane->paneSize());
        // Nothing a pane lays out needs more room than the pane has.
        EXPECT_LE(pane->minimumSizeHint().width(), pane->paneSize().width()) << index;
        EXPECT_LE(pane->minimumSizeHint().height(), pane->paneSize().height()) << index;
        const QImage shot = window->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        if (const QString dir = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR"); !dir.isEmpty())
            shot.save(dir + QStringLiteral("/preferences-%1.png").arg(index));
    }
}
