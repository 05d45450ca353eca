// Report switching, the overview's file list and the double-click rules of the reports.

#include "app/AppDelegate.h"

#include <algorithm>

#include "export/ScanReportFile.h"
#include "reports/PredicatesLib.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/TextFormat.h"
#include "settings/TypeCatalog.h"

#include <QFileInfo>

using namespace std::chrono_literals;

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

bool validReportIndex(int index) { return index >= 0 && index <= ReportIndex::ObsoleteFiles; }

template <class Row>
const Row* rowAt(const std::vector<Row>& rows, int row)
{
    return row >= 0 && std::size_t(row) < rows.size() ? &rows[std::size_t(row)] : nullptr;
}

} // namespace

int AppDelegate::currentReportIndex() const { return GeneralLib::cache().currentReportIndex; }

QString AppDelegate::hintKeyForReport(int index)
{
    switch (index) {
    case ReportIndex::FileExplorer: return QStringLiteral("ID_TIPS_FOR_FILE_EXPLORER");
    case ReportIndex::FileTypes: return QStringLiteral("ID_TIPS_FOR_FILE_TYPE");
    case ReportIndex::SizeRanges: return QStringLiteral("ID_TIPS_FOR_SIZE");
    case ReportIndex::DateRanges: return QStringLiteral("ID_TIPS_FOR_DATE");
    case ReportIndex::CustomTypes: return QStringLiteral("ID_TIPS_FOR_CUSTOM_TYPE");
    case ReportIndex::AllFolders: return QStringLiteral("ID_TIPS_FOR_ALLFOLDER_SUBFOLDER");
    case ReportIndex::Applications: return QStringLiteral("ID_TIPS_FOR_APPS");
    case ReportIndex::Overview: return QStringLiteral("ID_TIPS_FOR_OVERVIEW");
    case ReportIndex::ObsoleteFiles: return QStringLiteral("ID_TIPS_FOR_OBSOLETE_FILES");
    default: return {}; // attributes, time of day and ownership set no hint
    }
}

void AppDelegate::setButtonsState(int index)
{
    currentTab_ = index;
}

void AppDelegate::reportButtonTapped(int index)
{
    if (!validReportIndex(index))
        return;
    GeneralLib::setCurrentReportIndex(index);
    setButtonsState(index);
    // The panel opens before the work is queued: a scheduler that runs it at once closes
    // the panel inside schedule(), which must come after it opened.
    Q_EMIT reportProgressOpened();
    scheduler_.schedule(200ms, [this, index] { generateReport(index); });
}

void AppDelegate::generateReport(int index)
{
    const QString hint = hintKeyForReport(index);
    if (!hint.isEmpty())
        tips_ = CommonFuncs::getLocalizedStringForKey(hint);
    reports_.generateReport(index);
    if (index == ReportIndex::Overview) {
        reports_.loadOverViewList();
        Q_EMIT reportShown(index);
        std::vector<ScanReportFile::OverviewRow> rows;
        for (const TSpInfo& row : reports_.FOverViewList())
            rows.push_back({row.label, row.Files, row.Size});
        ScanReportFile::writeScanReportFile(reports_.arrTopSizeFiles(), rows, selectedFolder_);
    } else {
        Q_EMIT reportShown(index);
    }
    checkItemsForSelection();
    Q_EMIT reportProgressClosed();
}

void AppDelegate::refreshAllReports()
{
    reports_.refreshAllReports(selectedFolder_);
    updateStatusBarOption();
    Q_EMIT selectedFolderChanged(selectedFolder_);
    // The overview's file list gets every file before the current report runs: the report
    // runs deferred behind its waiting panel, so it always sees the list filled, whatever
    // the scheduler.
    reports_.getFilesOnlyForSelectedRoot();
    reports_.loadTopSizeFilesTableFor(reports_.arrFilesOnly());
    topFilesTitle_ = text("ID_FILES_ON_DISK_NAME");
    // The list selects its first row; with the overview current the file actions follow it.
    topSizeFilesSelectionChanged(reports_.arrTopSizeFiles().empty() ? -1 : 0);
    Q_EMIT topSizeFilesChanged();
    updateSelectedTab();
}

void AppDelegate::updateSelectedTab()
{
    reports_.getFilesOnlyForSelectedRoot();
    reports_.getAllChildAppsForSelectedFolder();
    reports_.loadOverViewList(); // the rows behind the status-bar popover
    const int index = currentReportIndex();
    if (!validReportIndex(index)) {
        qvlog(QStringLiteral("updateSelectedTab default"));
        return;
    }
    reportButtonTapped(index);
}

void AppDelegate::refreshAllDiskReport()
{
    const int index = currentReportIndex();
    if (!validReportIndex(index)) {
        qvlog(QStringLiteral("updateSelectedTab default"));
        return;
    }
    Q_EMIT reportTableReload(index);
}

// ---- the overview's file list ----

void AppDelegate::btnTopFilesBySizeTapped()
{
    reports_.loadTopSizeFilesTableFor(reports_.top100FilesBySize());
    topFilesTitle_ = TextFormat::format(text("ID_TOP_BIGEST_FILES_NAME"), {qint64(reports_.arrTopSizeFiles().size())});
    topSizeFilesSelectionChanged(reports_.arrTopSizeFiles().empty() ? -1 : 0);
    Q_EMIT topSizeFilesChanged();
}

void AppDelegate::btnTopOldestFilesTapped()
{
    reports_.loadTopSizeFilesTableFor(reports_.top100OldestFiles());
    topFilesTitle_ = TextFormat::format(text("ID_TOP_OLDEST_FILES_NAME"), {qint64(reports_.arrTopSizeFiles().size())});
    topSizeFilesSelectionChanged(reports_.arrTopSizeFiles().empty() ? -1 : 0);
    Q_EMIT topSizeFilesChanged();
}

void AppDelegate::overviewRowSelected(int row)
{
    const TSpInfo* info = rowAt(reports_.FOverViewList(), row);
    if (!info)
        return;
    reports_.loadTopSizeFilesTableFor(info->nodes);
    topSizeFilesSelectionChanged(reports_.arrTopSizeFiles().empty() ? -1 : 0);
    Q_EMIT topSizeFilesChanged();
}

void AppDelegate::topSizeFilesSelectionChanged(int row)
{
    const NodeList& files = reports_.arrTopSizeFiles();
    topSizeFileSelected(row >= 0 && std::size_t(row) < files.size() ? files[std::size_t(row)] : nullptr);
}

void AppDelegate::topSizeFileSelected(TFoldInfo* node)
{
    const NodeList& files = reports_.arrTopSizeFiles();
    selectedTopFile_ = node && std::find(files.begin(), files.end(), node) != files.end() ? node : nullptr;
    if (currentReportIndex() != ReportIndex::Overview)
        return;
    setToolBarButtonEnabled(selectedTopFile_ && !selectedTopFile_->isNonDeleteableFile());
}

TFoldInfo* AppDelegate::selectedTopSizeFile() const
{
    // The list may have lost the node since it was selected (a file action, a new list).
    const NodeList& files = reports_.arrTopSizeFiles();
    return std::find(files.begin(), files.end(), selectedTopFile_) != files.end() ? selectedTopFile_ : nullptr;
}

int AppDelegate::selectedTopSizeFileRow() const
{
    const NodeList& files = reports_.arrTopSizeFiles();
    const auto it = std::find(files.begin(), files.end(), selectedTopSizeFile());
    return it == files.end() ? -1 : int(it - files.begin());
}

// ---- double-clicks ----

void AppDelegate::openFilesViewerWindow(const NodeList& files, const QString& title)
{
    Q_EMIT fileViewerRequested(files, title);
    fileViewer_ = FileViewerWindowController::openFilesViewerWindow(files, title, ui_, scheduler_, this);
    if (fileViewer_)
        Q_EMIT fileViewerOpened(fileViewer_.get());
}

void AppDelegate::doubleClickedTableExplorer(TFoldInfo* node)
{
    if (!node)
        return;
    if (!node->isFolder() || node->isApp()) {
        ui_.preview(node->sPath());
        return;
    }
    if (node->cSize() == 0) {
        ui_.alert(text("ID_EMPTY_FOLDER_SELECTED"), QString());
        return;
    }
    if (selectedFolder_) {
        setItemExpanded(selectedFolder_, true);
        Q_EMIT expandTreeItem(selectedFolder_);
    }
    selectRow(node);
}

void AppDelegate::doubleClickedTableAllFoldersAndSubfolders(int row)
{
    const TAllFoldInfo* info = rowAt(reports_.FAllFolderList(), row);
    if (!info || !info->foldInfo)
        return;
    const QString title = TextFormat::format(QStringLiteral("All Files from %@"),
                                             {QFileInfo(info->foldInfo->sPath()).fileName()});
    openFilesViewerWindow(PredicatesLib::prepareFilesArray(info->foldInfo), title);
}

void AppDelegate::doubleClickedTableOverView(int row)
{
    if (const TSpInfo* info = rowAt(reports_.FOverViewList(), row))
        openFilesViewerWindow(info->nodes, info->label);
}

void AppDelegate::doubleClickedTableTopSizeFiles(int row)
{
    const NodeList& files = reports_.arrTopSizeFiles();
    if (row >= 0 && std::size_t(row) < files.size())
        ui_.preview(files[std::size_t(row)]->sPath());
}

void AppDelegate::doubleClickedOVAppsPackage(TFoldInfo* app)
{
    if (app)
        ui_.preview(app->sPath());
}

void AppDelegate::doubleClickedGroupedRow(int reportIndex, int row)
{
    // The ownership table has no rows; the overview's double-click is its own action.
    if (reportIndex == ReportIndex::Overview)
        doubleClickedTableOverView(row);
    else if (const TGroupRow* r = row < 0 ? nullptr : reports_.groupedRow(reportIndex, std::size_t(row)))
        openFilesViewerWindow(r->nodes, r->label);
}

void AppDelegate::btnCheckBoxFileExplorerTableTapped(TFoldInfo* node, bool checked)
{
    if (node && !node->isNonDeleteableFile())
        node->setState(checked ? 1 : 0);
    checkItemsForSelection();
}

void AppDelegate::btnCheckBoxObsoleteTableTapped(TFoldInfo* node, bool checked)
{
    if (node && !node->isNonDeleteableFile())
        node->setStateAtObsoleteFiles(checked ? 1 : 0);
    checkItemsForSelection();
}

void AppDelegate::checkItemsForSelection()
{
    switch (currentReportIndex()) {
    case ReportIndex::ObsoleteFiles: {
        const NodeList& list = reports_.FObsoleteFileList();
        setToolBarButtonEnabled(std::any_of(list.begin(), list.end(),
                                            [](const TFoldInfo* n) { return n->stateAtObsoleteFiles() != 0; }));
        break;
    }
    case ReportIndex::FileExplorer:
        setToolBarButtonEnabled(CommonFuncs::isItemsSelectedForOpration(reports_.arrFilesExplorer()));
        break;
    case ReportIndex::Overview:
        if (!selectedTopSizeFile())
            setToolBarButtonEnabled(false);
        break;
    default:
        setToolBarButtonEnabled(false);
        break;
    }
}

// ---- preferences and closing ----

void AppDelegate::displayUnitDidChange(int code)
{
    qvlog(QStringLiteral("displayUnitDidChange:"));
    GeneralLib::refreshDisplayUnitSettings();
    switch (code) {
    case 0:
        shouldRefresh_ = true;
        refreshAllDiskReport();
        break;
    case 1:
        updateStatusBarOption();
        break;
    case 2:
        refreshScannedTree();
        break;
    case 3:
    case 4:
        refreshAllDiskReport();
        updateStatusBarOption();
        refreshScannedTree();
        break;
    default:
        return;
    }
    if (currentReportIndex() == ReportIndex::Overview)
        Q_EMIT topSizeFilesChanged();
}

void AppDelegate::windowDidBecomeMain(bool miscFilterChanged, bool customTypeFilterChanged)
{
    if (miscFilterChanged)
        GeneralLib::refreshMiscSettings();
    if (!miscFilterChanged && !customTypeFilterChanged)
        return;
    TypeCatalog::readAndUpdateGlobalsForParsing();
    const int index = currentReportIndex();
    if (index == ReportIndex::CustomTypes) {
        reports_.loadCustomTypeSummary();
        Q_EMIT reportTableReload(index);
    }
    if (!miscFilterChanged)
        return;
    reloadFolderTree(); // the empty-folder filter may have changed which rows exist
    refreshScannedTree();
    if (index == ReportIndex::Overview) {
        reports_.loadOverViewList();
        Q_EMIT reportTableReload(index);
    } else if (index == ReportIndex::ObsoleteFiles) {
        reports_.loadObsoleteFiles();
        Q_EMIT reportTableReload(index);
    }
}

void AppDelegate::windowWillClose()
{
    GeneralLib::writeSortDescriptions();
    Q_EMIT quitRequested();
}
