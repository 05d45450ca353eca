// Opening the viewer, the shown list, sorting, check boxes, the status line, the context
// menu and the filter panel's apply and reset.

#include "viewer/ViewerFixture.h"

#include "settings/CommonFuncs.h"

#include <QSignalSpy>

namespace {

class Viewer : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        for (int size : {100, 400, 1500, 2000, 3000})
            dir_.file(QStringLiteral("f%1.dat").arg(size), size);
        files_ = scanFiles();
        viewer_ = open(files_);
        ASSERT_NE(viewer_, nullptr);
    }

    TFoldInfo* node(int size) const { return nodeNamed(files_, QStringLiteral("f%1.dat").arg(size)); }

    // The size range in KB, applied through the panel as the user does.
    void applyRange(const QString& from, const QString& to)
    {
        viewer_->radioBtnSizeTypeTapped(1);
        viewer_->popUpSizeUnitForBetweenChangedIndex(1);
        viewer_->controlTextDidChange(FileViewerWindowController::SizeField::From, from);
        viewer_->controlTextDidChange(FileViewerWindowController::SizeField::To, to);
        viewer_->btnApplyFilterTapped();
    }

    QStringList shownNames() const { return names(viewer_->getArrayOfFilesForPerformOperation()); }

    NodeList files_;
    std::unique_ptr<FileViewerWindowController> viewer_;
};

} // namespace

TEST_F(Viewer, OpeningGivesAnAlertForNoFilesAndOtherwiseASortedCopy)
{
    EXPECT_EQ(open({}), nullptr);
    ASSERT_EQ(ui_.alerts, QStringList{QString()});
    EXPECT_EQ(ui_.informatives.first(), CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_FILE_NOT_PRESENT_IN_CAT")));

    EXPECT_EQ(viewer_->titleText(), QStringLiteral("Row"));
    EXPECT_FALSE(viewer_->isFilteredResult());
    EXPECT_EQ(shownNames(), (QStringList{"f3000.dat", "f2000.dat", "f1500.dat", "f400.dat", "f100.dat"}));
    EXPECT_EQ(viewer_->statusCountText(), QStringLiteral("Files: 5"));
    EXPECT_EQ(viewer_->statusSizeText(), QStringLiteral("Size: 7.00 KB"));

    // A header click is remembered for the next opening.
    viewer_->sortDescriptorsDidChange({SortDescriptor{QStringLiteral("sName"), true}});
    EXPECT_EQ(shownNames().first(), QStringLiteral("f100.dat"));
    GeneralLib::refreshSortDescription(); // read back from the store
    EXPECT_EQ(names(open(files_)->arrFilesList()).last(), QStringLiteral("f400.dat"));
}

TEST_F(Viewer, CheckBoxesDriveTheToolbarOverTheShownList)
{
    QSignalSpy toolbar(viewer_.get(), &FileViewerWindowController::toolBarButtonsChanged);
    EXPECT_FALSE(viewer_->toolBarButtonsEnabled());
    viewer_->checkBoxFileSelctionTapped(4, true); // f100.dat
    EXPECT_EQ(node(100)->stateAtViewer(), 1);
    EXPECT_TRUE(viewer_->toolBarButtonsEnabled());
    EXPECT_EQ(viewer_->toolBarButtonImages().first(), QStringLiteral("delete.png"));
    ASSERT_FALSE(toolbar.isEmpty());
    EXPECT_TRUE(toolbar.last().first().toBool());

    // A filter hiding the checked file disables the buttons.
    applyRange(QStringLiteral("1"), QStringLiteral("2"));
    EXPECT_FALSE(viewer_->toolBarButtonsEnabled());
    EXPECT_EQ(viewer_->toolBarButtonImages().last(), QStringLiteral("zip_dis.png"));

    // A file that cannot be deleted cannot be checked in the table.
    node(2000)->setIsNonDeleteableFile(true);
    viewer_->checkBoxFileSelctionTapped(0, true);
    EXPECT_EQ(node(2000)->stateAtViewer(), 0);
    EXPECT_FALSE(viewer_->isCheckBoxEnabled(0));
}

TEST_F(Viewer, ApplyShowsMatchesOrFallsBackToTheFullList)
{
    applyRange(QStringLiteral("1"), QStringLiteral("2"));
    ASSERT_TRUE(viewer_->isFilteredResult());
    EXPECT_EQ(shownNames(), (QStringList{"f2000.dat", "f1500.dat"}));
    EXPECT_EQ(viewer_->statusCountText(), QStringLiteral("Files: 2"));

    // A row index now refers to the filtered list.
    viewer_->doubleClickedTableFilesViewer(1);
    EXPECT_EQ(ui_.previewed, QStringList{node(1500)->sPath()});
    ASSERT_TRUE(viewer_->validateMenuItem(FileViewerWindowController::MenuCommand::Open, 0));
    viewer_->showInFinderMenuOption(viewer_->nodeAt(0));
    EXPECT_EQ(ui_.revealed, QStringList{node(2000)->sPath()});

    // "less than 0" keeps nothing: alert, and the full list is shown again.
    QSignalSpy reloads(viewer_.get(), &FileViewerWindowController::tableReloaded);
    viewer_->radioBtnSizeTypeTapped(2);
    viewer_->popUpComparisionOperatorChangedIndex(1);
    viewer_->controlTextDidChange(FileViewerWindowController::SizeField::Compare, QStringLiteral("0"));
    viewer_->btnApplyFilterTapped();
    EXPECT_EQ(ui_.alerts, QStringList{CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_FILE_NOT_FOUND"))});
    EXPECT_FALSE(viewer_->isFilteredResult());
    EXPECT_TRUE(viewer_->arrFilteredFiles().empty());
    EXPECT_EQ(viewer_->rowCount(), 5);
    EXPECT_EQ(reloads.size(), 1);
    EXPECT_EQ(viewer_->statusCountText(), QStringLiteral("Files: 5"));
}

TEST_F(Viewer, ApplyWithoutTheSizeValuesChangesNothing)
{
    applyRange(QStringLiteral("1"), QStringLiteral("2"));
    QSignalSpy reloads(viewer_.get(), &FileViewerWindowController::tableReloaded);
    EXPECT_EQ(viewer_->controlTextDidChange(FileViewerWindowController::SizeField::To, QStringLiteral("k")),
              QString());
    viewer_->btnApplyFilterTapped();
    EXPECT_EQ(ui_.alerts, QStringList{CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_SIZE_MUST_SPECIFIED"))});
    EXPECT_TRUE(viewer_->isFilteredResult());
    EXPECT_EQ(shownNames(), (QStringList{"f2000.dat", "f1500.dat"}));
    EXPECT_EQ(reloads.size(), 0);
}

TEST_F(Viewer, SortingWhileFilteredKeepsTheFullListOrderForTopCounts)
{
    applyRange(QStringLiteral("0"), QStringLiteral("2"));
    viewer_->sortDescriptorsDidChange({SortDescriptor{QStringLiteral("cSize"), true}});
    EXPECT_EQ(shownNames(), (QStringList{"f100.dat", "f400.dat", "f1500.dat", "f2000.dat"}));
    EXPECT_EQ(names(viewer_->arrFilesList()).first(), QStringLiteral("f3000.dat"));

    // The top count follows the full list's order (largest first here).
    viewer_->popUpTopFilesChangedIndex(1, QStringLiteral("2"));
    viewer_->btnApplyFilterTapped();
    EXPECT_EQ(shownNames(), (QStringList{"f2000.dat", "f1500.dat"}));

    viewer_->btnRemoveFilterTapped();
    EXPECT_EQ(shownNames(), (QStringList{"f3000.dat", "f2000.dat", "f1500.dat", "f400.dat", "f100.dat"}));
}

TEST_F(Viewer, ResetUnchecksOnlyTheFilteredRowsAndRestoresThePanel)
{
    viewer_->performSelectAllOrUnSelect(1); // every row, filtered or not
    applyRange(QStringLiteral("1"), QStringLiteral("2"));
    viewer_->popUpDateTypeChangedIndex(1);
    viewer_->popUpTopFilesChangedIndex(2, QStringLiteral("25"));
    viewer_->dpChooseDateFrom(QDateTime(QDate(2020, 2, 3), QTime(15, 0)));
    EXPECT_EQ(viewer_->lblDateFrom(), QStringLiteral("02/03/2020"));
    EXPECT_TRUE(viewer_->datePickersEnabled());

    viewer_->btnRemoveFilterTapped();
    EXPECT_FALSE(viewer_->isFilteredResult());
    EXPECT_EQ(node(1500)->stateAtViewer(), 0);
    EXPECT_EQ(node(2000)->stateAtViewer(), 0);
    for (int size : {100, 400, 3000})
        EXPECT_EQ(node(size)->stateAtViewer(), 1) << size;
    const SettingsCache& c = GeneralLib::cache();
    EXPECT_EQ(c.sizeFilterType, 0);
    EXPECT_EQ(c.sizeUnitForFilter, 1);
    EXPECT_EQ(c.comparisionOperatorForFilter, 0);
    EXPECT_EQ(c.dateTypeForFilter, 3);
    EXPECT_EQ(c.topFilteredFileCount, 0);
    EXPECT_FALSE(viewer_->datePickersEnabled());
    EXPECT_TRUE(SettingsStore::stringForKey(QStringLiteral("fileSizeMinForFilter")).isEmpty());
    const QString today = CommonFuncs::dateStringOnlyFromDate(QDateTime::currentDateTime());
    EXPECT_EQ(viewer_->lblDateFrom(), today);
    EXPECT_EQ(viewer_->lblDateTo(), today);

    // A second reset leaves rows checked since then alone.
    viewer_->checkBoxFileSelctionTapped(1, true);
    ASSERT_EQ(viewer_->nodeAt(1), node(2000));
    viewer_->btnRemoveFilterTapped();
    EXPECT_EQ(node(2000)->stateAtViewer(), 1);
}

TEST_F(Viewer, PanelValuesSurviveTheNextOpening)
{
    viewer_->setFileNameForFilter(QStringLiteral("f400.dat"));
    viewer_->popUpDateTypeChangedIndex(0);
    viewer_->dpChooseDateTo(QDateTime(QDate(2031, 12, 24), QTime(1, 0)));
    viewer_.reset();
    GeneralLib::refreshFileViewerFilterComponents();

    auto next = open(files_);
    EXPECT_FALSE(next->isFilteredResult());
    const FileViewerFilterValues v = next->filterValues();
    EXPECT_EQ(v.fileName, QStringLiteral("f400.dat"));
    EXPECT_EQ(v.dateTypeForFilter, 0);
    EXPECT_EQ(v.dateTo, QStringLiteral("12/24/2031"));
    EXPECT_EQ(v.dateFrom, CommonFuncs::dateStringOnlyFromDate(QDateTime::currentDateTime()));
}

TEST_F(Viewer, MenuValidationAndSelectAll)
{
    using Cmd = FileViewerWindowController::MenuCommand;
    EXPECT_TRUE(viewer_->validateMenuItem(Cmd::FilterPopUp, -1));
    EXPECT_FALSE(viewer_->validateMenuItem(Cmd::ShowInFinder, -1));
    node(400)->setIsNonDeleteableFile(true);
    EXPECT_TRUE(viewer_->validateMenuItem(Cmd::ShowInFinder, 3));
    // A command for a node the shown list does not hold (a stale menu) does nothing.
    viewer_->showInFinderMenuOption(nullptr);
    EXPECT_TRUE(ui_.revealed.isEmpty());
    EXPECT_FALSE(viewer_->validateMenuItem(Cmd::MoveToTrash, 3));
    EXPECT_FALSE(viewer_->validateMenuItem(Cmd::Preview, 3));
    EXPECT_TRUE(viewer_->validateMenuItem(Cmd::FilterPopUp, 3));
    EXPECT_TRUE(viewer_->validateMenuItem(Cmd::Preview, 2));
    EXPECT_FALSE(viewer_->validateMenuItem(Cmd::Open, 5)); // beyond the list

    // Select all reaches the rows a filter hides and the file that cannot be deleted.
    applyRange(QStringLiteral("1"), QStringLiteral("2"));
    viewer_->selectAllFileMenuOption();
    for (TFoldInfo* n : files_)
        EXPECT_EQ(n->stateAtViewer(), 1) << n->sName().toStdString();
    viewer_->unSelectAllFileMenuOption();
    EXPECT_FALSE(viewer_->toolBarButtonsEnabled());
    EXPECT_EQ(node(3000)->stateAtViewer(), 0);
}
