// The report panels over a real controller and a real fixture tree: every report shows the
// rows and cell texts quorvel-cli prints for the same folder, header clicks sort through
// the controller and are remembered by the next run, check boxes follow the nodes, the
// overview wires its table, chart, links and file list, and double-clicks and context
// menus reach the controller.

#include "ui_reports/ReportPanelsFixture.h"

#include "reports/charts/PieChartView.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/TextFormat.h"
#include "ui/reports/AppsOutlineModel.h"
#include "ui/reports/ReportCellDelegate.h"
#include "ui/reports/OverviewPanel.h"
#include "ui/reports/ReportContextMenu.h"
#include "ui/reports/ReportTableModel.h"
#include "ui/reports/ReportTableView.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

// One line of the CLI's table: the cells joined by single blanks (the CLI pads columns).
QString normalised(const QString& line)
{
    return line.simplified();
}

// The CLI's text table of one report for the folder: its header and row lines.
QStringList cliLines(const QString& report, const QString& path)
{
    const TestSupport::ProcessResult result = TestSupport::runCli({QStringLiteral("report"), report, path});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    QStringList lines = QString::fromUtf8(result.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The scan summary and the "== title (n rows) ==" line come before the table.
    while (!lines.isEmpty() && !lines.first().startsWith(QLatin1String("==")))
        lines.removeFirst();
    if (!lines.isEmpty())
        lines.removeFirst();
    for (QString& line : lines)
        line = normalised(line);
    return lines;
}

// The same lines read from a model as the view shows them: header titles, then cells.
QStringList modelLines(const QAbstractItemModel& model)
{
    QStringList lines;
    QStringList header;
    for (int c = 0; c < model.columnCount(); ++c)
        header.append(model.headerData(c, Qt::Horizontal).toString());
    lines.append(normalised(header.join(QLatin1Char(' '))));
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells.append(model.index(r, c).data().toString());
        lines.append(normalised(cells.join(QLatin1Char(' '))));
    }
    return lines;
}

class ReportPanelsTest : public ReportPanelsFixture {
protected:
    void SetUp() override
    {
        ReportPanelsFixture::SetUp();
        tree_.file(QStringLiteral("docs/report.pdf"), 120000);
        tree_.file(QStringLiteral("docs/notes.txt"), 900);
        tree_.file(QStringLiteral("docs/old/letter.doc"), 4000);
        tree_.file(QStringLiteral("pics/a.jpg"), 3000000);
        tree_.file(QStringLiteral("pics/b.png"), 1500);
        tree_.file(QStringLiteral("cache/build.tmp"), 50);
        tree_.file(QStringLiteral("cache/run.log"), 2000);
        tree_.file(QStringLiteral("music/song.mp3"), 5000000);
        tree_.file(QStringLiteral("zero.dat"), 0);
        tree_.file(QStringLiteral("Tool.AppDir/AppRun"), 100);
        tree_.chmod(QStringLiteral("Tool.AppDir/AppRun"), 0755);
        tree_.file(QStringLiteral("Tool.AppDir/lib.so"), 1000);
        tree_.mkdir(QStringLiteral("empty"));
    }

    ReportTableView* tableView(int index) { return qobject_cast<ReportTableView*>(panels_->viewForReport(index)); }

    TFoldInfo* childNamed(TFoldInfo* folder, const QString& name)
    {
        for (TFoldInfo* c : folder->SubList())
            if (c->sName() == name)
                return c;
        return nullptr;
    }

    // Double-clicks a row of a view in the middle of its first cell.
    static void doubleClickRow(QTreeView* view, int row)
    {
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        // A double-click acts on the row its first press selected.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    static void clickHeader(QTreeView* view, int section)
    {
        QHeaderView* head = view->header();
        const int x = head->sectionViewportPosition(section) + head->sectionSize(section) / 2;
        QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, QPoint(x, head->height() / 2));
    }
};

TEST_F(ReportPanelsTest, EveryReportShowsTheRowsAndCellsTheCliPrints)
{
    ASSERT_NE(scan(), nullptr);
    struct Case {
        const char* name;
        int index;
    };
    const Case cases[] = {{"explorer", 0}, {"types", 1},     {"attributes", 2}, {"sizes", 3},
                          {"dates", 4},    {"times", 5},     {"ownership", 6},  {"custom", 7},
                          {"folders", 8},  {"apps", 9},      {"overview", 10},  {"obsolete", 11}};
    for (const Case& c : cases) {
        show(c.name);
        EXPECT_EQ(panels_->currentPanel(), c.index) << c.name;
        const QAbstractItemModel* model = c.index == 9 ? static_cast<QAbstractItemModel*>(panels_->appsModel())
                                                       : panels_->modelForReport(c.index);
        ASSERT_NE(model, nullptr) << c.name;
        const QStringList cli = cliLines(QLatin1String(c.name), tree_.path());
        const QStringList gui = modelLines(*model);
        EXPECT_EQ(gui, cli) << c.name;
        if (c.index != 6) { // the ownership table has no rows by design
            EXPECT_GT(model->rowCount(), 0) << c.name;
        }
        // Rows that stand for a node (a file, folder, application) or a file kind show its icon.
        if ((c.index <= 1 || c.index == 8 || c.index == 11) && model->rowCount() > 0) {
            EXPECT_FALSE(model->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull()) << c.name;
        }
        const QString hintKey = AppDelegate::hintKeyForReport(c.index);
        if (!hintKey.isEmpty()) {
            EXPECT_EQ(panels_->hintLabel()->text(), CommonFuncs::getLocalizedStringForKey(hintKey)) << c.name;
        }
    }
    EXPECT_EQ(panels_->modelForReport(11)->rowCount(), 2); // build.tmp and run.log
    EXPECT_EQ(panels_->appsModel()->rowCount(), 1);        // Tool.AppDir
}

TEST_F(ReportPanelsTest, OverviewTopListsMatchTheCliAndTitleTheFirstColumn)
{
    ASSERT_NE(scan(), nullptr);
    show("overview");
    OverviewPanel* overview = panels_->overview();
    const QAbstractItemModel& files = *overview->fileModel();
    // After a selection the list holds every file, titled "Files on Disk".
    EXPECT_EQ(files.headerData(0, Qt::Horizontal).toString(), text("ID_FILES_ON_DISK_NAME"));
    EXPECT_EQ(files.rowCount(), int(app_->reports().arrFilesOnly().size()));
    EXPECT_EQ(overview->fileView()->selectedRow(), 0);

    QTest::mouseClick(overview->topBySizeButton(), Qt::LeftButton);
    QStringList gui = modelLines(files);
    QStringList cli = cliLines(QStringLiteral("top-size"), tree_.path());
    ASSERT_FALSE(cli.isEmpty());
    EXPECT_EQ(gui.mid(1), cli.mid(1));
    EXPECT_EQ(files.headerData(0, Qt::Horizontal).toString(),
              TextFormat::format(text("ID_TOP_BIGEST_FILES_NAME"), {qint64(files.rowCount())}));

    QTest::mouseClick(overview->topOldestButton(), Qt::LeftButton);
    gui = modelLines(files);
    cli = cliLines(QStringLiteral("top-oldest"), tree_.path());
    EXPECT_EQ(gui.mid(1), cli.mid(1));
    EXPECT_EQ(files.headerData(0, Qt::Horizontal).toString(),
              TextFormat::format(text("ID_TOP_OLDEST_FILES_NAME"), {qint64(files.rowCount())}));
    EXPECT_EQ(overview->fileView()->selectedRow(), 0);
}

TEST_F(ReportPanelsTest, OverviewGroupsSwatchesCountChartAndGroupSelection)
{
    TFoldInfo* root = scan();
    ASSERT_NE(root, nullptr);
    show("overview");
    OverviewPanel* overview = panels_->overview();
    ReportTableModel* groups = overview->groupModel();
    const auto& rows = app_->reports().FOverViewList();
    ASSERT_GE(groups->rowCount(), 6);
    EXPECT_EQ(groups->rowCount(), int(rows.size()));
    // Each row's swatch is its position's palette colour.
    for (int r = 0; r < groups->rowCount(); ++r) {
        const QPixmap swatch = groups->index(r, 0).data(Qt::DecorationRole).value<QPixmap>();
        ASSERT_FALSE(swatch.isNull());
        const ChartColor& c = GeneralLib::cache().chartColors[r];
        const QColor centre = swatch.toImage().pixelColor(swatch.width() / 2, swatch.height() / 2);
        EXPECT_NEAR(centre.redF(), c.red, 0.01) << r;
        EXPECT_NEAR(centre.greenF(), c.green, 0.01) << r;
        EXPECT_NEAR(centre.blueF(), c.blue, 0.01) << r;
    }
    EXPECT_EQ(overview->fileCountLabel()->text(),
              text("ID_FILES") + QStringLiteral(": ") + QString::number(app_->reports().arrFilesOnly().size()));
    std::vector<std::uint64_t> sizes;
    for (const auto& row : rows)
        sizes.push_back(row.Size);
    EXPECT_EQ(overview->chart()->elementSizes(), sizes);

    // Selecting a group shows all its files in the list below.
    int withFiles = -1;
    for (int r = 0; r < int(rows.size()); ++r)
        if (rows[std::size_t(r)].Files > 0 && rows[std::size_t(r)].Files < root->cFiles())
            withFiles = r;
    ASSERT_GE(withFiles, 0);
    overview->groupView()->selectRow(withFiles);
    EXPECT_EQ(overview->fileModel()->rowCount(), int(rows[std::size_t(withFiles)].Files));
    EXPECT_EQ(overview->fileView()->selectedRow(), 0);

    // Double-clicking it opens the file viewer on those files under the group's name.
    doubleClickRow(overview->groupView(), withFiles);
    ASSERT_NE(app_->fileViewer(), nullptr);
}

TEST_F(ReportPanelsTest, EmptyScanRootShowsDashesZeroCountAndTheGreyChart)
{
    TestSupport::TempTree empty;
    ASSERT_NE(scan(empty.path()), nullptr);
    show("overview");
    OverviewPanel* overview = panels_->overview();
    ReportTableModel* groups = overview->groupModel();
    ASSERT_EQ(groups->rowCount(), 6); // no rest row
    const int size = groups->columnOf(u"size");
    const int share = groups->columnOf(u"percentage");
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(groups->index(r, size).data().toString(), QStringLiteral("--"));
        EXPECT_EQ(groups->index(r, share).data().toString(), QStringLiteral("--"));
    }
    EXPECT_EQ(overview->fileCountLabel()->text(), text("ID_FILES") + QStringLiteral(": 0"));
    EXPECT_EQ(overview->fileModel()->rowCount(), 0);
    EXPECT_EQ(overview->fileView()->selectedRow(), -1);

    const QImage image = overview->chart()->grab().toImage();
    const QColor ring = image.pixelColor(image.width() / 2 + int(image.height() * 0.42), image.height() / 2);
    EXPECT_NEAR(ring.red(), 100, 1);
    EXPECT_NEAR(ring.green(), 100, 1);
    EXPECT_NEAR(ring.blue(), 100, 1);
}

TEST_F(ReportPanelsTest, HeaderClicksSortByValueAndTheStoredSortSurvivesARestart)
{
    ASSERT_NE(scan(), nullptr);
    show("explorer");
    ReportTableView* view = tableView(0);
    ReportTableModel* model = panels_->modelForReport(0);
    const int size = model->columnOf(u"size");
    ASSERT_GE(size, 0);

    // Numbers sort by value: "900 Bytes" comes before "1.50 KB" ascending.
    clickHeader(view, size); // a new column sorts biggest first
    clickHeader(view, size); // then smallest first
    std::vector<std::uint64_t> values;
    for (int r = 0; r < model->rowCount(); ++r)
        values.push_back(model->index(r, size).data(ReportTableModel::SortRole).toULongLong());
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(view->header()->sortIndicatorSection(), size);
    EXPECT_EQ(view->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileExplorer), (SortDescriptor{QStringLiteral("cSize"), true}));

    // The selection follows its row through a sort: the biggest entry, last, goes first.
    const int last = model->rowCount() - 1;
    view->selectRow(last);
    TFoldInfo* selected = model->nodeAt(last);
    clickHeader(view, size);
    EXPECT_EQ(view->selectedRow(), 0);
    EXPECT_EQ(model->nodeAt(view->selectedRow()), selected);
    clickHeader(view, size); // ascending again

    // Sorting by files ascending on the size ranges, then a new run of the program.
    show("sizes");
    ReportTableModel* sizes = panels_->modelForReport(3);
    const int files = sizes->columnOf(u"files");
    clickHeader(tableView(3), files);
    clickHeader(tableView(3), files);
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::FileSize), (SortDescriptor{QStringLiteral("Files"), true}));
    app_->windowWillClose(); // writes the sort orders

    // A separate process reads them back.
    const QStringList cli = cliLines(QStringLiteral("sizes"), tree_.path());
    EXPECT_EQ(modelLines(*sizes), cli);

    start();
    ASSERT_NE(scan(), nullptr);
    show("sizes");
    ReportTableView* again = tableView(3);
    EXPECT_EQ(again->header()->sortIndicatorSection(), files);
    EXPECT_EQ(again->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    std::vector<qint64> counts;
    for (int r = 0; r < panels_->modelForReport(3)->rowCount(); ++r)
        counts.push_back(panels_->modelForReport(3)->index(r, files).data(ReportTableModel::SortRole).toLongLong());
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    show("explorer");
    const int shown = tableView(0)->header()->sortIndicatorSection();
    ASSERT_GE(shown, 0);
    EXPECT_EQ(panels_->modelForReport(0)->table().column(shown).sortKey, QStringLiteral("cSize"));
    EXPECT_EQ(tableView(0)->header()->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(ReportPanelsTest, TimeOfDayIsSortedBySizeAgainOnEveryVisit)
{
    ASSERT_NE(scan(), nullptr);
    show("times");
    ReportTableModel* model = panels_->modelForReport(5);
    const int range = model->columnOf(u"timerange");
    clickHeader(tableView(5), range);
    EXPECT_EQ(tableView(5)->header()->sortIndicatorSection(), range); // shows the click
    show("sizes");
    show("times");
    const int size = model->columnOf(u"size");
    for (int r = 1; r < model->rowCount(); ++r)
        EXPECT_GE(model->index(r - 1, size).data(ReportTableModel::SortRole).toULongLong(),
                  model->index(r, size).data(ReportTableModel::SortRole).toULongLong());
}

TEST_F(ReportPanelsTest, CheckBoxesFollowTheNodesAndAreDisabledForUndeletableFiles)
{
    TFoldInfo* root = scan();
    ASSERT_NE(root, nullptr);
    TFoldInfo* locked = childNamed(root, QStringLiteral("zero.dat"));
    ASSERT_NE(locked, nullptr);
    locked->setIsNonDeleteableFile(true);
    locked->setState(1);
    show("explorer");
    ReportTableModel* model = panels_->modelForReport(0);
    const int box = model->table().checkColumn();
    ASSERT_EQ(box, model->columnOf(u"name"));

    const int lockedRow = model->table().rowOfNode(locked);
    const QModelIndex lockedCell = model->index(lockedRow, box);
    EXPECT_EQ(lockedCell.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(lockedCell.data(ReportTableModel::CheckEnabledRole).toBool());
    EXPECT_FALSE(model->flags(lockedCell) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model->setData(lockedCell, Qt::Checked, Qt::CheckStateRole));
    locked->setState(0);
    app_->checkItemsForSelection();

    // A click on a deletable row's box checks its node and enables the file actions.
    TFoldInfo* docs = childNamed(root, QStringLiteral("docs"));
    const int docsRow = model->table().rowOfNode(docs);
    const QModelIndex docsCell = model->index(docsRow, box);
    EXPECT_TRUE(model->flags(docsCell) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(app_->fileActionButtonsEnabled());
    ReportTableView* view = tableView(0);
    const QRect cell = view->visualRect(docsCell);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 12, cell.center().y()));
    EXPECT_EQ(docs->state(), 1);
    EXPECT_EQ(docsCell.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_TRUE(app_->fileActionButtonsEnabled());

    // The obsolete files keep their own boxes.
    show("obsolete");
    ReportTableModel* obsolete = panels_->modelForReport(11);
    ASSERT_EQ(obsolete->rowCount(), 2);
    const QModelIndex first = obsolete->index(0, obsolete->table().checkColumn());
    EXPECT_EQ(first.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(obsolete->setData(first, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(obsolete->nodeAt(0)->stateAtObsoleteFiles(), 1);
    EXPECT_EQ(obsolete->nodeAt(0)->state(), 0);
    EXPECT_TRUE(app_->fileActionButtonsEnabled());

    // Grouped reports have no boxes.
    show("sizes");
    EXPECT_EQ(panels_->modelForReport(3)->table().checkColumn(), -1);
    EXPECT_FALSE(panels_->modelForReport(3)->index(0, 0).data(Qt::CheckStateRole).isValid());
}

TEST_F(ReportPanelsTest, DoubleClicksPreviewOpenFoldersAlertOnEmptyOnesAndOpenTheViewer)
{
    TFoldInfo* root = scan();
    ASSERT_NE(root, nullptr);
    show("explorer");
    ReportTableModel* model = panels_->modelForReport(0);
    ReportTableView* view = tableView(0);

    doubleClickRow(view, model->table().rowOfNode(childNamed(root, QStringLiteral("zero.dat"))));
    EXPECT_EQ(ui_.previewed, QStringList{tree_.at(QStringLiteral("zero.dat"))});

    TFoldInfo* empty = childNamed(root, QStringLiteral("empty"));
    doubleClickRow(view, model->table().rowOfNode(empty));
    EXPECT_EQ(ui_.alerts, QStringList{text("ID_EMPTY_FOLDER_SELECTED")});
    EXPECT_EQ(app_->selectedFolder(), root);

    TFoldInfo* docs = childNamed(root, QStringLiteral("docs"));
    doubleClickRow(view, model->table().rowOfNode(docs));
    EXPECT_EQ(app_->selectedFolder(), docs);
    // The explorer now lists the folder's entries.
    EXPECT_EQ(model->rowCount(), int(docs->childCount()));

    show("folders");
    ReportTableModel* folders = panels_->modelForReport(8);
    ASSERT_GT(folders->rowCount(), 0);
    doubleClickRow(tableView(8), 0);
    ASSERT_NE(app_->fileViewer(), nullptr);

    show("sizes");
    ReportTableModel* sizes = panels_->modelForReport(3);
    ASSERT_GT(sizes->rowCount(), 0);
    doubleClickRow(tableView(3), 0);
    ASSERT_NE(app_->fileViewer(), nullptr);
}

TEST_F(ReportPanelsTest, ContextMenuEntriesFollowTheValidationAndTrashTheClickedFile)
{
    TFoldInfo* root = scan();
    ASSERT_NE(root, nullptr);
    show("explorer");
    ReportTableModel* model = panels_->modelForReport(0);
    TFoldInfo* locked = childNamed(root, QStringLiteral("zero.dat"));
    locked->setIsNonDeleteableFile(true);

    const auto enabled = [](QMenu* menu) {
        QStringList names;
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->isEnabled())
                names.append(action->objectName());
        return names;
    };
    std::unique_ptr<QMenu> lockedMenu(ReportContextMenu::build(*app_, model->table().rowOfNode(locked), panels_.get()));
    EXPECT_EQ(enabled(lockedMenu.get()), QStringList{QStringLiteral("reveal")});
    std::unique_ptr<QMenu> none(ReportContextMenu::build(*app_, -1, panels_.get()));
    EXPECT_TRUE(enabled(none.get()).isEmpty());

    TFoldInfo* notes = childNamed(root, QStringLiteral("docs"));
    const int row = model->table().rowOfNode(notes);
    std::unique_ptr<QMenu> menu(ReportContextMenu::build(*app_, row, panels_.get()));
    EXPECT_EQ(enabled(menu.get()).size(), 6);
    const int rowsBefore = model->rowCount();
    ui_.answers = {true};
    menu->findChild<QAction*>(QStringLiteral("trash"))->trigger();
    EXPECT_FALSE(QFile::exists(tree_.at(QStringLiteral("docs"))));
    EXPECT_EQ(model->rowCount(), rowsBefore - 1);
    EXPECT_EQ(model->table().rowOfNode(notes), -1);

    // Select all checks every entry's box in the explorer.
    std::unique_ptr<QMenu> again(ReportContextMenu::build(*app_, 0, panels_.get()));
    again->findChild<QAction*>(QStringLiteral("selectAll"))->trigger();
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 0).data(ReportTableModel::CheckEnabledRole).toBool()) {
            EXPECT_EQ(model->index(r, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked) << r;
        }
}

TEST_F(ReportPanelsTest, OverviewFileListMenuTrashesOnlyTheClickedFile)
{
    TFoldInfo* root = scan();
    ASSERT_NE(root, nullptr);
    show("overview");
    ReportTableModel* files = panels_->overview()->fileModel();
    const int before = files->rowCount();
    TFoldInfo* clicked = files->nodeAt(1);
    const QString path = clicked->sPath();
    const QString other = files->nodeAt(0)->sPath();
    std::unique_ptr<QMenu> menu(ReportContextMenu::build(*app_, 1, panels_.get()));
    ui_.answers = {true};
    menu->findChild<QAction*>(QStringLiteral("trash"))->trigger();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_EQ(files->rowCount(), before - 1);
    for (int r = 0; r < files->rowCount(); ++r)
        EXPECT_NE(files->nodeAt(r)->sPath(), path);
}

TEST_F(ReportPanelsTest, ApplicationsHeaderClickSortsAndStoresTheApplicationsSort)
{
    tree_.file(QStringLiteral("Big.AppDir/AppRun"), 5000);
    tree_.chmod(QStringLiteral("Big.AppDir/AppRun"), 0755);
    ASSERT_NE(scan(), nullptr);
    show("apps");
    AppsOutlineModel* apps = panels_->appsModel();
    ASSERT_EQ(apps->rowCount(), 2);
    EXPECT_EQ(apps->index(0, 0).data().toString(), QStringLiteral("Big.AppDir")); // biggest first
    clickHeader(panels_->viewForReport(9), 0); // by name, A first
    EXPECT_EQ(apps->index(0, 0).data().toString(), QStringLiteral("Big.AppDir"));
    clickHeader(panels_->viewForReport(9), 0); // Z first
    EXPECT_EQ(apps->index(0, 0).data().toString(), QStringLiteral("Tool.AppDir"));
    EXPECT_EQ(GeneralLib::sortDescriptor(SortSetting::Apps), (SortDescriptor{QStringLiteral("sName"), false}));
    // Double-click previews the application.
    doubleClickRow(panels_->viewForReport(9), 0);
    EXPECT_EQ(ui_.previewed, QStringList{tree_.at(QStringLiteral("Tool.AppDir"))});
}

TEST_F(ReportPanelsTest, EveryModelPassesTheModelTesterThroughVisitsSortsAndSelections)
{
    ModelTesterLog log;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (int index = 0; index < ReportPanels::kReportCount; ++index)
        if (QAbstractItemModel* model = panels_->modelForReport(index))
            testers.push_back(std::make_unique<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::Warning));
    testers.push_back(std::make_unique<QAbstractItemModelTester>(panels_->appsModel(),
                                                                  QAbstractItemModelTester::FailureReportingMode::Warning));
    testers.push_back(std::make_unique<QAbstractItemModelTester>(panels_->overview()->fileModel(),
                                                                  QAbstractItemModelTester::FailureReportingMode::Warning));
    TFoldInfo* root = scan();
    ASSERT_NE(root, nullptr);
    for (int index = 0; index < ReportPanels::kReportCount; ++index) {
        show(ReportPanels::reportName(index).toLatin1().constData());
        if (ReportTableModel* model = panels_->modelForReport(index))
            for (int c = 0; c < model->columnCount(); ++c)
                model->sort(c, c % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    app_->outlineViewSelectionDidChange(childNamed(root, QStringLiteral("docs")));
    app_->outlineViewSelectionDidChange(root);
    EXPECT_TRUE(log.failures().isEmpty()) << log.failures().join(QLatin1Char('\n')).toStdString();
}

TEST_F(ReportPanelsTest, ShareBarsInTheFileListGrowWithTheShare)
{
    ASSERT_NE(scan(), nullptr);
    show("overview");
    ReportTableView* view = panels_->overview()->fileView();
    ReportTableModel* files = panels_->overview()->fileModel();
    const int share = files->columnOf(u"percent");
    ASSERT_TRUE(view->cellDelegate()->isBarColumn(share));
    view->clearSelection(); // the selection colour would hide the bars
    view->setCurrentIndex(QModelIndex());
    const QImage image = view->viewport()->grab().toImage();
    // The bar's filled pixels in a row's share cell.
    const auto filled = [&](int row) {
        const QRect cell = view->visualRect(files->index(row, share));
        int count = 0;
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor c = image.pixelColor(x, cell.center().y());
            count += c.blue() > 150 && c.red() < 120 ? 1 : 0;
        }
        return count;
    };
    // Biggest first: 5 MB (61.50 %), 3 MB (36.90 %), then files of well under 2 %.
    const int first = filled(0), second = filled(1), third = filled(2);
    EXPECT_GT(first, second);
    EXPECT_GT(second, third);
    EXPECT_NEAR(double(second) / first, 36.90 / 61.50, 0.05);
}

TEST_F(ReportPanelsTest, ChangingTheDisplayUnitRedrawsTheShownReportWithoutRecomputingIt)
{
    ASSERT_NE(scan(), nullptr);
    show("sizes");
    ReportTableModel* model = panels_->modelForReport(3);
    const int size = model->columnOf(u"size");
    const TGroupRow* before = model->table().groupRow(0);
    EXPECT_FALSE(model->index(0, size).data().toString().endsWith(QStringLiteral(" Bytes")));
    const SettingsCache saved = GeneralLib::cache();
    GeneralLib::overrideDisplayUnitSettings(CommonFuncs::Bytes, saved.diskReportSummary, saved.folderTree,
                                            saved.decimalPlaces);
    app_->refreshAllDiskReport();
    EXPECT_EQ(model->index(0, size).data().toString(),
              QString::number(model->index(0, size).data(ReportTableModel::SortRole).toULongLong())
                  + QStringLiteral(" Bytes"));
    EXPECT_EQ(model->table().groupRow(0), before); // the same rows, redrawn
    GeneralLib::overrideDisplayUnitSettings(saved.allDiskReports, saved.diskReportSummary, saved.folderTree,
                                            saved.decimalPlaces);
}

// Renders every panel to PNG when QUORVEL_UI_SHOTS names a folder, to look at them.
TEST_F(ReportPanelsTest, PanelsRenderToImages)
{
    ASSERT_NE(scan(), nullptr);
    const QString folder = qEnvironmentVariable("QUORVEL_UI_SHOTS");
    for (int index = 0; index < ReportPanels::kReportCount; ++index) {
        show(ReportPanels::reportName(index).toLatin1().constData());
        const QImage image = panels_->grab().toImage();
        EXPECT_EQ(image.size(), panels_->size() * panels_->devicePixelRatio());
        if (!folder.isEmpty())
            image.save(folder + QLatin1Char('/') + ReportPanels::reportName(index) + QStringLiteral(".png"));
    }
}

} // namespace
