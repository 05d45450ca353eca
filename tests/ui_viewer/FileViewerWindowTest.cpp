// The file viewer window driven as a person would: its table, check boxes, toolbar, context
// menu, status line and filter panel, offscreen.

#include "GuiFixture.h"
#include "reports/ReportRows.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "viewer/FileViewerFilterPanelView.h"
#include "viewer/FileViewerTableModel.h"
#include "viewer/FileViewerWindow.h"
#include "viewer/core/FileViewerWindowController.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QIcon>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A scanned folder of files, the application controller over it and a viewer window on
// the files of a report row.
class ViewerWindow : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
    }

    // Opens the viewer on every file of the scanned folder under a title.
    void openOn(const QString& title = QStringLiteral("Files"))
    {
        root_ = scanTree();
        ASSERT_NE(root_, nullptr);
        NodeList files;
        collect(root_, files);
        app_.openFilesViewerWindow(files, title);
        ASSERT_NE(app_.fileViewer(), nullptr);
        makeWindow();
    }

    void makeWindow()
    {
        window_ = std::make_unique<FileViewerWindow>(*app_.fileViewer());
        window_->show();
    }

    FileViewerWindowController& viewer() { return *app_.fileViewer(); }
    FileViewerTableModel& model() { return *window_->model(); }
    FileViewerFilterPanelView& panel() { return *window_->filterPanel(); }

    QStringList shownNames()
    {
        QStringList names;
        for (int row = 0; row < model().rowCount(); ++row)
            names.append(model().index(row, 0).data().toString());
        return names;
    }
    int rowNamed(const QString& name) { return int(shownNames().indexOf(name)); }
    void check(const QString& name)
    {
        ASSERT_TRUE(model().setData(model().index(rowNamed(name), 0), Qt::Checked, Qt::CheckStateRole));
    }
    bool isChecked(const QString& name)
    {
        return model().index(rowNamed(name), 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    QAction* menuAction(QMenu* menu, const char* key)
    {
        for (QAction* action : menu->actions())
            if (action->text() == text(key))
                return action;
        return nullptr;
    }
    void typeInto(QLineEdit* field, const QString& value)
    {
        field->clear();
        QTest::keyClicks(field, value);
    }
    void apply() { QTest::mouseClick(panel().applyButton(), Qt::LeftButton); }
    void chooseSizeType(int tag) { panel().sizeTypeGroup()->button(tag)->click(); }

    static void collect(TFoldInfo* folder, NodeList& out)
    {
        for (TFoldInfo* c : folder->SubList()) {
            if (c->isFolder())
                collect(c, out);
            else
                out.push_back(c);
        }
    }

    TFoldInfo* root_ = nullptr;
    std::unique_ptr<FileViewerWindow> window_;
};

} // namespace

TEST_F(ViewerWindow, OpensFromASizeRangeRowWithItsTitleAndRows)
{
    for (int size : {1500, 1800, 2500})
        tree_.file(QStringLiteral("f%1.bin").arg(size), size);
    tree_.file(QStringLiteral("big.bin"), 2'000'000);
    scanTree();
    app_.btnFileSizeTapped();
    const auto& rows = app_.reports().FSizeList();
    int withThree = -1;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].nodes.size() == 3)
            withThree = int(i);
    ASSERT_GE(withThree, 0);
    app_.doubleClickedGroupedRow(ReportIndex::SizeRanges, withThree);
    ASSERT_NE(app_.fileViewer(), nullptr);
    makeWindow();

    EXPECT_EQ(window_->headerLabel()->text(), rows[std::size_t(withThree)].label);
    // Largest first, as the remembered order says by default; the name cell has a box and an icon.
    EXPECT_EQ(shownNames(), (QStringList{u"f2500.bin"_s, u"f1800.bin"_s, u"f1500.bin"_s}));
    EXPECT_EQ(window_->table()->horizontalHeader()->sortIndicatorSection(), FileViewerTableModel::columnOf(QStringLiteral("size")));
    EXPECT_FALSE(model().index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(model().index(0, FileViewerTableModel::columnOf(QStringLiteral("path"))).data().toString(),
              tree_.at(QStringLiteral("f2500.bin")));
    EXPECT_EQ(window_->countLabel()->text(), QStringLiteral("Files: 3"));
    EXPECT_EQ(window_->sizeLabel()->text(), QStringLiteral("Size: 5.80 KB"));
    EXPECT_TRUE(window_->sizeOnDiskLabel()->text().startsWith(text("ID_SIZE_ON_DISK") + QStringLiteral(": ")));
}

TEST_F(ViewerWindow, HeaderClicksSortNumericallyAndOnlyTheFilteredRows)
{
    for (int size : {900, 10'000, 2'000, 1'500, 1'000, 50'000})
        tree_.file(QStringLiteral("f%1.bin").arg(size), size);
    openOn();
    const int nameColumn = FileViewerTableModel::columnOf(QStringLiteral("name"));
    const int sizeColumn = FileViewerTableModel::columnOf(QStringLiteral("size"));

    // Sizes sort as numbers, not as their texts.
    window_->table()->sortByColumn(sizeColumn, Qt::AscendingOrder);
    EXPECT_EQ(shownNames(), (QStringList{u"f900.bin"_s, u"f1000.bin"_s, u"f1500.bin"_s, u"f2000.bin"_s, u"f10000.bin"_s, u"f50000.bin"_s}));

    // Filtered to 1..2 KB, a click on the name header reorders those rows only.
    chooseSizeType(1);
    panel().sizeUnitForRange()->setCurrentIndex(1);
    typeInto(panel().sizeFromField(), QStringLiteral("1"));
    typeInto(panel().sizeToField(), QStringLiteral("2"));
    apply();
    EXPECT_EQ(shownNames(), (QStringList{u"f1000.bin"_s, u"f1500.bin"_s, u"f2000.bin"_s}));
    window_->table()->sortByColumn(nameColumn, Qt::DescendingOrder);
    EXPECT_EQ(shownNames(), (QStringList{u"f2000.bin"_s, u"f1500.bin"_s, u"f1000.bin"_s}));

    QTest::mouseClick(panel().resetButton(), Qt::LeftButton);
    EXPECT_EQ(shownNames(), (QStringList{u"f900.bin"_s, u"f1000.bin"_s, u"f1500.bin"_s, u"f2000.bin"_s, u"f10000.bin"_s, u"f50000.bin"_s}));

    // The attributes column has no field to sort by: the order and the indicator stay.
    window_->table()->sortByColumn(FileViewerTableModel::columnOf(QStringLiteral("attributes")), Qt::AscendingOrder);
    EXPECT_EQ(window_->table()->horizontalHeader()->sortIndicatorSection(), nameColumn);
    EXPECT_EQ(shownNames().first(), QStringLiteral("f900.bin"));
    // The last header click is what the next opening starts with.
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::ForFileViewer), (SortDescriptor{QStringLiteral("sName"), false}));
}

TEST_F(ViewerWindow, FilterPanelWritesEveryValueAndShowsItAgainNextTime)
{
    tree_.file(QStringLiteral("Report.PDF"), 10);
    tree_.file(QStringLiteral("report.pdf.bak"), 10);
    tree_.file(QStringLiteral("sub/report.pdf"), 10);
    openOn();

    typeInto(panel().fileNameField(), QStringLiteral("report.pdf"));
    panel().comparisionOperator()->setCurrentIndex(3);
    panel().dateType()->setCurrentIndex(1);
    panel().topFilesCount()->setCurrentIndex(1);
    EXPECT_EQ(SettingsStore::stringForKey(SettingsKeys::fileNameForFilter), QStringLiteral("report.pdf"));
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::comparisionOperatorForFilter), 3);
    EXPECT_EQ(SettingsStore::integerForKey(SettingsKeys::topFilteredFileCount), 10);
    EXPECT_TRUE(panel().dateFrom()->isEnabled());
    panel().dateType()->setCurrentIndex(3);
    EXPECT_FALSE(panel().dateFrom()->isEnabled());

    // A letter typed into a size field goes away at once.
    typeInto(panel().sizeCompareField(), QStringLiteral("12x"));
    EXPECT_EQ(panel().sizeCompareField()->text(), QStringLiteral("12"));

    apply();
    QStringList names = shownNames();
    names.sort();
    EXPECT_EQ(names, (QStringList{u"Report.PDF"_s, u"report.pdf"_s}));
    EXPECT_EQ(window_->countLabel()->text(), QStringLiteral("Files: 2"));

    // A new window shows what the settings hold, and starts unfiltered.
    window_.reset();
    app_.openFilesViewerWindow(viewer().arrFilesList(), QStringLiteral("Again"));
    makeWindow();
    EXPECT_EQ(panel().fileNameField()->text(), QStringLiteral("report.pdf"));
    EXPECT_EQ(panel().comparisionOperator()->currentIndex(), 3);
    EXPECT_EQ(panel().sizeCompareField()->text(), QStringLiteral("12"));
    EXPECT_EQ(panel().topFilesCount()->currentText(), QStringLiteral("10"));
    EXPECT_EQ(model().rowCount(), 3);

    // Reset restores the defaults in every control.
    QTest::mouseClick(panel().resetButton(), Qt::LeftButton);
    EXPECT_EQ(panel().fileNameField()->text(), QString());
    EXPECT_EQ(panel().sizeTypeGroup()->checkedId(), 0);
    EXPECT_EQ(panel().sizeUnitForRange()->currentIndex(), 1);
    EXPECT_EQ(panel().comparisionOperator()->currentIndex(), 0);
    EXPECT_EQ(panel().dateType()->currentIndex(), 3);
    EXPECT_FALSE(panel().dateTo()->isEnabled());
    EXPECT_EQ(panel().topFilesCount()->currentIndex(), 0);
    EXPECT_EQ(panel().dateFrom()->date(), QDate::currentDate());
}

TEST_F(ViewerWindow, SizeAlertsAndTheFallBackToTheFullList)
{
    for (int size : {999, 1000, 1500, 2000, 2001})
        tree_.file(QStringLiteral("b%1").arg(size), size);
    openOn();

    // A range without its upper bound: alert, table as it was.
    chooseSizeType(1);
    typeInto(panel().sizeFromField(), QStringLiteral("1"));
    apply();
    EXPECT_EQ(ui_.alerts, QStringList{text("ID_SIZE_MUST_SPECIFIED")});
    EXPECT_EQ(model().rowCount(), 5);

    // 1 to 2 KB keeps both ends.
    typeInto(panel().sizeToField(), QStringLiteral("2"));
    apply();
    EXPECT_EQ(shownNames(), (QStringList{u"b2000"_s, u"b1500"_s, u"b1000"_s}));

    // "Less than 0" keeps nothing: alert, and the full list again.
    chooseSizeType(2);
    panel().comparisionOperator()->setCurrentIndex(1);
    typeInto(panel().sizeCompareField(), QStringLiteral("0"));
    apply();
    EXPECT_EQ(ui_.alerts.last(), text("ID_FILE_NOT_FOUND"));
    EXPECT_FALSE(viewer().isFilteredResult());
    EXPECT_EQ(model().rowCount(), 5);
    EXPECT_EQ(window_->countLabel()->text(), QStringLiteral("Files: 5"));
}

TEST_F(ViewerWindow, DateRangeIncludesItsLastDayAndTopCountsCut)
{
    const auto local = [](int d, int h) {
        return QDateTime(QDate(2024, 3, d), QTime(h, 0), Qt::LocalTime).toSecsSinceEpoch();
    };
    for (int i = 0; i < 25; ++i)
        tree_.file(QStringLiteral("n%1").arg(i, 2, 10, QLatin1Char('0')), 1000 + i);
    for (int i = 0; i < 25; ++i)
        tree_.setTimes(QStringLiteral("n%1").arg(i, 2, 10, QLatin1Char('0')), local(1, 12), local(i < 4 ? 10 : 20, 23));
    openOn();

    panel().dateType()->setCurrentIndex(1); // modified
    panel().dateFrom()->setDate(QDate(2024, 3, 10));
    panel().dateTo()->setDate(QDate(2024, 3, 10));
    EXPECT_EQ(SettingsStore::stringForKey(SettingsKeys::dateToForFilter), QStringLiteral("03/10/2024"));
    apply();
    EXPECT_EQ(shownNames(), (QStringList{u"n03"_s, u"n02"_s, u"n01"_s, u"n00"_s}));

    panel().topFilesCount()->setCurrentIndex(1); // 10
    apply();
    EXPECT_EQ(model().rowCount(), 4);
    panel().dateType()->setCurrentIndex(3); // no date condition: 25 matches, the first 10 shown
    apply();
    EXPECT_EQ(model().rowCount(), 10);
    EXPECT_EQ(shownNames().first(), QStringLiteral("n24"));
}

TEST_F(ViewerWindow, DeletingTwoCheckedFilesWhenOneFails)
{
    tree_.file(QStringLiteral("a.bin"), 3000);
    tree_.file(QStringLiteral("gone.bin"), 2000);
    tree_.file(QStringLiteral("c.bin"), 1000);
    openOn();
    const qint64 filesBefore = root_->cFiles();
    for (QAction* action : window_->toolBarActions())
        EXPECT_FALSE(action->isEnabled());

    check(QStringLiteral("a.bin"));
    check(QStringLiteral("gone.bin"));
    for (QAction* action : window_->toolBarActions())
        EXPECT_TRUE(action->isEnabled());
    // The second file disappears behind the viewer's back: its trash fails.
    ASSERT_TRUE(QFile::remove(tree_.at(QStringLiteral("gone.bin"))));
    ui_.answers = {true};
    window_->toolBarActions().first()->trigger();

    EXPECT_EQ(ui_.questions.size(), 1);
    EXPECT_EQ(ui_.alerts.size(), 1); // the failure
    EXPECT_EQ(shownNames(), (QStringList{u"gone.bin"_s, u"c.bin"_s}));
    EXPECT_TRUE(isChecked(QStringLiteral("gone.bin")));
    EXPECT_EQ(window_->countLabel()->text(), QStringLiteral("Files: 2"));
    EXPECT_FALSE(QFile::exists(tree_.at(QStringLiteral("a.bin"))));
    // The scan tree lost the trashed file through the application controller.
    EXPECT_EQ(child(root_, QStringLiteral("a.bin")), nullptr);
    EXPECT_EQ(root_->cFiles(), filesBefore - 1);
    EXPECT_TRUE(window_->toolBarActions().first()->isEnabled());
}

TEST_F(ViewerWindow, ContextMenuTrashesTheClickedFileWhenNothingIsChecked)
{
    tree_.file(QStringLiteral("keep.bin"), 2000);
    tree_.file(QStringLiteral("clicked.bin"), 1000);
    openOn();
    std::unique_ptr<QMenu> none(window_->contextMenuForRow(-1));
    for (QAction* action : none->actions())
        EXPECT_FALSE(action->isEnabled() && !action->isSeparator());

    std::unique_ptr<QMenu> menu(window_->contextMenuForRow(rowNamed(QStringLiteral("clicked.bin"))));
    QAction* trash = menuAction(menu.get(), "ID_MOVE_TO_TRASH");
    ASSERT_NE(trash, nullptr);
    ASSERT_TRUE(trash->isEnabled());
    ui_.answers = {true};
    trash->trigger();
    EXPECT_EQ(shownNames(), QStringList{u"keep.bin"_s});
    EXPECT_FALSE(QFile::exists(tree_.at(QStringLiteral("clicked.bin"))));
    EXPECT_TRUE(QFile::exists(tree_.at(QStringLiteral("keep.bin"))));

    // Preview from the menu and from a double click take the row's file.
    std::unique_ptr<QMenu> again(window_->contextMenuForRow(0));
    menuAction(again.get(), "ID_PREVIEW")->trigger();
    const QRect cell = window_->table()->visualRect(model().index(0, 1));
    QTest::mouseClick(window_->table()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(window_->table()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(ui_.previewed, (QStringList{tree_.at(QStringLiteral("keep.bin")), tree_.at(QStringLiteral("keep.bin"))}));
}

TEST_F(ViewerWindow, ANonDeletableRowHasADisabledBoxButSelectAllSetsIt)
{
    tree_.file(QStringLiteral("free.bin"), 2000);
    tree_.file(QStringLiteral("locked.bin"), 1000);
    openOn();
    TFoldInfo* locked = child(root_, QStringLiteral("locked.bin"));
    locked->setIsNonDeleteableFile(true);
    const QModelIndex lockedCell = model().index(rowNamed(QStringLiteral("locked.bin")), 0);
    EXPECT_FALSE(model().flags(lockedCell) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(model().flags(model().index(rowNamed(QStringLiteral("free.bin")), 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model().setData(lockedCell, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(locked->stateAtViewer(), 0);

    std::unique_ptr<QMenu> lockedMenu(window_->contextMenuForRow(lockedCell.row()));
    EXPECT_TRUE(menuAction(lockedMenu.get(), "ID_SHOW_IN_FILE_MANAGER")->isEnabled());
    EXPECT_FALSE(menuAction(lockedMenu.get(), "ID_MOVE_TO_TRASH")->isEnabled());

    std::unique_ptr<QMenu> menu(window_->contextMenuForRow(rowNamed(QStringLiteral("free.bin"))));
    menuAction(menu.get(), "ID_SELECT_ALL")->trigger();
    EXPECT_EQ(locked->stateAtViewer(), 1);
    EXPECT_TRUE(isChecked(QStringLiteral("free.bin")));
    EXPECT_FALSE(isChecked(QStringLiteral("locked.bin"))); // the box still shows it cannot be
    EXPECT_TRUE(window_->toolBarActions().first()->isEnabled());
    menuAction(menu.get(), "ID_UNSELECT_ALL")->trigger();
    EXPECT_FALSE(window_->toolBarActions().first()->isEnabled());
}

TEST_F(ViewerWindow, RunsModalOverAPinnedMainWindowAndReleasesTheViewer)
{
    tree_.file(QStringLiteral("a.bin"), 10);
    root_ = scanTree();
    app_.openFilesViewerWindow(NodeList{root_->SubList().front()}, QStringLiteral("Row"));
    QWidget mainWindow;
    mainWindow.setGeometry(100, 100, 1400, 800);
    mainWindow.show();
    const QPoint where = mainWindow.pos();
    QString title;
    QRect shown;
    QTimer::singleShot(0, &mainWindow, [&] {
        auto* modal = qobject_cast<FileViewerWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        title = modal->headerLabel()->text();
        shown = modal->frameGeometry();
        mainWindow.move(400, 400); // the main window stays where it is while the viewer runs
        for (QPushButton* button : modal->findChildren<QPushButton*>())
            if (button->text() == text("ID_CLOSE"))
                QTest::mouseClick(button, Qt::LeftButton);
    });
    FileViewerWindow::runModal(app_, &mainWindow);
    EXPECT_EQ(title, QStringLiteral("Row"));
    EXPECT_EQ(app_.fileViewer(), nullptr);
    EXPECT_EQ(mainWindow.pos(), where);
    EXPECT_LE(std::abs(shown.center().x() - mainWindow.frameGeometry().center().x()), 1)
        << shown.x() << "," << shown.width() << " over " << mainWindow.frameGeometry().x() << "," << mainWindow.frameGeometry().width();
}

// The window renders every part at its size (and, with QUORVEL_SCREENSHOT_DIR set, leaves
// a PNG there to look at).
TEST_F(ViewerWindow, RendersCompletely)
{
    for (int i = 0; i < 12; ++i)
        tree_.file(QStringLiteral("docs/file %1.txt").arg(i), 1000 * (i + 1));
    tree_.file(QStringLiteral("photo.jpg"), 250'000);
    openOn(QStringLiteral("1 KB - 1 MB"));
    check(QStringLiteral("photo.jpg"));
    const QImage shot = window_->grab().toImage();
    EXPECT_EQ(shot.size(), window_->size() * window_->devicePixelRatio());
    const QList<QWidget*> parts{window_->headerLabel(), window_->table(), window_->filterPanel(), window_->countLabel(),
                                window_->toolBar()};
    for (QWidget* part : parts)
        EXPECT_TRUE(part->isVisible() && window_->rect().contains(QRect(part->mapTo(window_.get(), QPoint()), part->size())));
    // The status line ends at the right edge: count right of size on disk right of size.
    EXPECT_LT(window_->sizeLabel()->x(), window_->sizeOnDiskLabel()->x());
    EXPECT_LT(window_->sizeOnDiskLabel()->x(), window_->countLabel()->x());
    if (const QString dir = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR"); !dir.isEmpty())
        shot.save(dir + QStringLiteral("/viewer.png"));
}
