#pragma once

#include "app/FolderTreeRows.h"
#include "base/UserInterface.h"
#include "fileops/FileCommands.h"
#include "reports/FolderReports.h"
#include "reports/ReportTable.h"
#include "scan/DriveNode.h"
#include "scan/ScanTree.h"
#include "scan/TFolderScanner.h"
#include "viewer/core/FileViewerWindowController.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

class ProgressWindowController;

// The application controller: owns the scanned roots, the selected folder, the volume list
// and the scanner, and runs every command of the main window. It shows nothing itself:
// whatever needs a person goes through UserInterface, delays through Scheduler, and views
// follow it through the signals below.
//
// Threads: everything runs on the thread the controller lives on (the main thread) except
// the scan itself, which runs on a thread of its own, one at a time. The new tree is seen
// by nobody until the scan thread has finished it and computed its totals: only then does
// completion, on the main thread while the scan thread waits, put it into the roots (a
// rescan replaces the old tree at its index; until then the old tree stays shown).
class AppDelegate : public QObject, public FileViewerWindowControllerDelegate {
    Q_OBJECT
public:
    AppDelegate(UserInterface& ui, Scheduler& scheduler, QObject* parent = nullptr);
    ~AppDelegate() override;

    // ---- start-up ----

    // Loads the shared exclusion list (unless the caller has set one), registers the
    // default settings and reads them into the cache, and loads the type catalog (what
    // creating the controller does).
    void loadSettingsAndCatalogs(bool loadExclusionList = true);
    // The main window has loaded: volume list, button states; the start-up dialog is asked
    // for 1.2 s later (startupDialogRequested).
    void awakeFromNib();
    // Creates the application's support folder.
    void applicationDidFinishLaunching();

    // ---- volumes ----
    void parseDiskDrives();
    const std::vector<DriveNode>& arrDiskDrive() const { return arrDiskDrive_; }
    // Replaces the volume list (tests, and platforms with their own source).
    void setDiskDrives(std::vector<DriveNode> drives);

    // ---- scan control ----

    // A double-click in the volume table: scans the volume when it can be read, otherwise
    // asks whether to choose it in a folder panel.
    void scanForDrive(const DriveNode& drive);
    // The folder chooser at a path; the chosen folder is scanned and remembered.
    void openPanelToSelectDirectoryAt(const QString& path);
    // A scan started from the start-up dialog.
    void scanInitialWindowPath(const QString& path);
    // Refuses an excluded path with an alert; otherwise starts the scan thread and opens the
    // progress sheet. Returns false when no scan was started.
    bool setParsingPath(const QString& path);
    // The same for a path as the file system's bytes (a name need not be valid UTF-8).
    bool setParsingPath(const QByteArray& path);
    // True while a scan thread runs (its completion has not yet run).
    bool isScanning() const { return scanning_; }
    // Runs the event loop until the running scan has completed (the command-line tool and
    // tests; the GUI just returns to its loop).
    void waitForScanToFinish();
    // The progress sheet's controller while a scan runs; null otherwise.
    ProgressWindowController* progressWC() const { return progressWC_.get(); }
    float ScanTime() const { return scanTime_; }

    // Rescans the root of the selected folder.
    void btnRefreshScanTreeTapped();
    // Takes the selected folder out of the tree (nothing on disk changes).
    void btnRemoveFolderFromScanTreeTapped();
    // Drops nodes that file actions removed from disk; roots stay.
    void removeItemsFromScannedTree(const std::vector<TFoldInfo*>& nodes) override;
    // Reloads the folder tree and selects the selected folder again, or its nearest
    // ancestor that still has a row, or the first root.
    void refreshScannedTree();

    // ---- the scanned roots ----
    const std::vector<TFoldInfo*>& arrParseResult() const { return roots_; }
    TFoldInfo* selectedFolder() const { return selectedFolder_; }
    bool isScannedSomeThing() const { return isScannedSomeThing_; }
    bool isRefreshReqForTree() const { return isRefreshReqForTree_; }
    void setIsRefreshReqForTree(bool v) { isRefreshReqForTree_ = v; }
    TFolderScanner& folderScanner() { return scanner_; }
    // The options the next scan takes: the stored settings, with any option forced on for
    // this process (quorvel-cli's --hidden and --one-file-system) turned on as well.
    FolderScanOptions scanOptions() const;
    void setForcedScanOptions(const FolderScanOptions& forced) { forcedScanOptions_ = forced; }
    // Whether selecting a folder (a finished scan's root included) refreshes its reports at
    // once, as the window needs. A caller that shows no reports, or refreshes them itself
    // (refreshAllReports), turns it off and saves a pass over every file.
    void setReportsFollowSelection(bool follow) { reportsFollowSelection_ = follow; }
    std::recursive_mutex& lock() { return mutex_; }

    // ---- folder tree data source ----

    // Children shown under a node: its folders that are not applications, largest first,
    // cut to those with a size unless "showEmptyFolders" is on. Null gives the roots.
    // Each folder's list is computed once and kept until that folder changes (see the
    // folderRows* signals); the reference stays valid until the next tree edit.
    const std::vector<TFoldInfo*>& folderTreeChildren(TFoldInfo* item) const;
    // The same list as rows for an item model, each in constant time: the number of rows
    // under a node (null: the roots), the node at a row (null when out of range), and the
    // row of a node under its parent (-1 when the tree does not show it there). The parent
    // of a row is the node's PFoldInfo(), null for a root.
    int folderTreeRowCount(TFoldInfo* parent) const;
    TFoldInfo* folderTreeChild(TFoldInfo* parent, int row) const;
    int folderTreeRow(const TFoldInfo* node) const;
    // True when the node holds a folder that is not an application (empty or not).
    bool isFolderTreeItemExpandable(const TFoldInfo* item) const;
    // The "name" and "size" column texts (a root shows no size).
    QString folderTreeText(const TFoldInfo* item, const QString& column) const;
    // Whether the folder tree shows a row for the node: it is still in the tree, every
    // ancestor below its root is expanded, and the tree's filter lists it.
    bool hasRowInFolderTree(const TFoldInfo* node) const;
    // The view reports expansion changes; selecting a node implies its ancestors are open.
    void setItemExpanded(const TFoldInfo* node, bool expanded);

    // The applications outline: the applications at the top, then each one's whole
    // content, unsorted; nothing expands. Columns "itemName", "attributes" (empty) and
    // "size" ("--" for 0).
    std::vector<TFoldInfo*> appsOutlineChildren(TFoldInfo* item) const;
    // The outline as rows, without copies: the number of rows under a node (null: the
    // applications; an application: its content), the node at a row (null when out of
    // range), and the row of an application at the top level (-1 when it is not listed),
    // constant time while the list stays as it is.
    int appsOutlineRowCount(TFoldInfo* parent) const;
    TFoldInfo* appsOutlineChild(TFoldInfo* parent, int row) const;
    int appsOutlineRow(const TFoldInfo* app) const;
    static bool isAppsOutlineItemExpandable(const TFoldInfo*) { return false; }
    QString appsOutlineText(const TFoldInfo* item, const QString& column) const;

    // The folder tree's selection changed to `selected` (null: no row selected).
    void outlineViewSelectionDidChange(TFoldInfo* selected);
    // A node is about to collapse: when its row lies above the selected row (in the rows
    // the tree shows, expanded branches included), the node becomes the selection.
    void outlineViewItemWillCollapse(TFoldInfo* node);
    // The row of a node among all rows the folder tree shows, top to bottom (roots and the
    // rows of expanded folders); -1 when it has none.
    int visibleRowInFolderTree(const TFoldInfo* node) const;

    // ---- status bar ----
    // The selected folder's path; for a root at "/", "/" followed by the volume's name
    // (its label, else the text of "ID_STARTUP_DISK").
    QString statusBarPath() const;
    QString statusBarSize() const;
    QString statusBarSizeOnDisk() const;
    QString statusBarFiles() const;
    QString statusBarFolders() const;
    void updateStatusBarOption();

    // ---- reports ----

    FolderReports& reports() { return reports_; }
    const FolderReports& reports() const { return reports_; }
    int currentReportIndex() const;
    // A report tab button (index as in ReportIndex): marks the tab, opens the waiting
    // panel and computes the report 0.2 s later behind it.
    void reportButtonTapped(int index);
    void btnFileExplorerTapped() { reportButtonTapped(0); }
    void btnShowAllContentsTapped() { reportButtonTapped(0); }
    void btnFileTypesTapped() { reportButtonTapped(1); }
    void btnAttributesTapped() { reportButtonTapped(2); }
    void btnFileSizeTapped() { reportButtonTapped(3); }
    void btnFileDateTapped() { reportButtonTapped(4); }
    void btnFileTimeTapped() { reportButtonTapped(5); }
    void btnFileOwnershipTapped() { reportButtonTapped(6); }
    void btnCustomTypeSummary() { reportButtonTapped(7); }
    void btnAllFoldersAndSubFoldersListTapped() { reportButtonTapped(8); }
    void btnAppsTapped() { reportButtonTapped(9); }
    void btnOverviewTapped() { reportButtonTapped(10); }
    void btnObsoleteFilesTapped() { reportButtonTapped(11); }
    // The report operation itself: hint text, rows, panel, and for the overview the scan
    // report file; then the waiting panel closes.
    void generateReport(int index);
    // Makes sure the inputs exist, then runs the current tab's action again.
    void updateSelectedTab();
    // Redraws the current report's table without recomputing it.
    void refreshAllDiskReport();
    // The pressed tab is the current one: it is disabled, the others enabled.
    void setButtonsState(int index);
    bool isTabButtonEnabled(int index) const { return index != currentTab_; }
    // The hint text under the report and the first column title of the overview's file list.
    QString tipsText() const { return tips_; }
    QString topFilesColumnTitle() const { return topFilesTitle_; }
    static QString hintKeyForReport(int index);

    // The overview's file list and its buttons.
    void btnTopFilesBySizeTapped();
    void btnTopOldestFilesTapped();
    // An overview row was selected: its files fill the file list.
    void overviewRowSelected(int row);
    // A row of the file list was selected (-1: none): enables the file actions for a file
    // that may be deleted.
    // The same by row of the file list as it stands now (the view's selection callback).
    void topSizeFilesSelectionChanged(int row);
    // The file list's selected node (null: none); a node that is not in the list selects
    // nothing. The selection follows the node, not its row, so it survives re-sorting.
    void topSizeFileSelected(TFoldInfo* node);
    // The selected node while it is still in the file list, else null; and its current row
    // (-1 when none).
    TFoldInfo* selectedTopSizeFile() const;
    int selectedTopSizeFileRow() const;

    // The file viewer on these files under this title (the empty-list alert instead when
    // there are none). The controller keeps it until closeFileViewer or the next one.
    void openFilesViewerWindow(const NodeList& files, const QString& title);
    FileViewerWindowController* fileViewer() const { return fileViewer_.get(); }
    void closeFileViewer() { fileViewer_.reset(); }

    // Double-clicks of the report tables.
    void doubleClickedTableExplorer(TFoldInfo* node);
    void doubleClickedTableAllFoldersAndSubfolders(int row);
    void doubleClickedTableOverView(int row);
    void doubleClickedTableTopSizeFiles(int row);
    void doubleClickedOVAppsPackage(TFoldInfo* app);
    // Size, date, time, types, attributes and custom-type rows: the file viewer on the
    // row's files with its label as the title (no row: nothing happens).
    void doubleClickedGroupedRow(int reportIndex, int row);
    // The table of a report (ReportIndex value) or of the overview's file list
    // (ReportTableId::TopFiles) over this controller's lists, its check boxes wired to the
    // two handlers below. Null for an unknown id. The table reads the live lists: keep it
    // for the window's life and reset its view on reportShown / reportTableReload.
    std::unique_ptr<ReportTable> reportTable(int tableId);
    // A check box of the explorer or the obsolete list changed.
    void btnCheckBoxFileExplorerTableTapped(TFoldInfo* node, bool checked);
    void btnCheckBoxObsoleteTableTapped(TFoldInfo* node, bool checked);

    // Reactions to the preferences. The display unit pane changed a unit (code 0 the
    // reports', 1 the summary's, 2 the folder tree's, 3 the decimal places, 4 all reset):
    // the settings are read again and, per code, the report tables (reportTableReload),
    // the status bar (statusBarChanged) and the folder tree (folderTreeTextsChanged) are
    // redrawn; code 0 also marks the tray popover for a redraw (shouldRefresh); with the
    // overview current its file list is redrawn too (topSizeFilesChanged). Other codes
    // only re-read the settings.
    void displayUnitDidChange(int code);
    // The tray popover redraws at its next appearance when this is set; it clears it then.
    bool shouldRefresh() const { return shouldRefresh_; }
    void setShouldRefresh(bool refresh) { shouldRefresh_ = refresh; }
    // The main window is main again after the misc filter or the custom type filter changed.
    void windowDidBecomeMain(bool miscFilterChanged, bool customTypeFilterChanged);
    // The main window closes: the sort orders are saved and the application ends.
    void windowWillClose();

    // ---- file actions on the shown report's entries ----

    // The report's list the commands act on: the explorer's entries, the overview's file
    // list, the obsolete files (and the applications for the context menu); empty for
    // other reports.
    NodeList getArrayOfFilesForPerformOperation() const;
    // The nodes a toolbar command takes: the checked explorer or obsolete rows, or the
    // overview file list's selected row.
    NodeList nodesForToolbarCommand() const;
    void btnDeleteFilesTapped();
    void btnCopyFilesTapped();
    void btnMoveFilesTapped();
    void btnZipFilesTapped();
    void performDelete();
    void copySelectedFilesAt(const QString& destination);
    void moveSelectedFilesAt(const QString& destination);
    void zipSelectedFilesAt(const QString& destination);

    // The context menu: the row it was opened on, its commands and their enabling.
    enum class MenuCommand { ShowInFinder, Preview, Open, MoveToTrash, SelectAll, UnSelectAll, AppCommand };
    // The commands take the node the menu was opened on (null: no row), never a row number,
    // so a view that sorted since cannot make them act on another file.
    // Whether the command applies to that node in the shown report: the explorer, the
    // overview's file list and the obsolete files offer reveal for any of their nodes and
    // the other commands for deletable ones; the applications every command for theirs.
    // Changes nothing.
    bool validateMenuItem(MenuCommand command, const TFoldInfo* clicked) const;
    // 0 reveals, 1 previews, 2 opens the node, when the shown report lists it.
    void performFileOperation(int operation, const TFoldInfo* clicked);
    // After confirmation, trashes the checked rows (explorer, obsolete files), or the
    // clicked node when none is checked or the overview's file list is shown.
    void moveToTrashMenu(TFoldInfo* clicked);
    void performMoveToTrashFiles(const NodeList& nodes);
    void performSelectAllOrUnSelect(int state);

    // ---- buttons ----
    // Re-evaluates the file-action buttons for the current tab and the checked rows.
    void checkItemsForSelection();
    bool refreshAndRemoveButtonsEnabled() const { return treeButtonsEnabled_; }
    bool fileActionButtonsEnabled() const { return fileActionsEnabled_; }
    // The four file-action button images for the current enabled state.
    QStringList fileActionButtonImages() const;
    void setToolBarButtonEnabled(bool enabled);

Q_SIGNALS:
    void volumesChanged();
    void startupDialogRequested();
    void progressWindowOpened();
    void progressWindowClosed();
    // The folder tree must reload (its rows were all recomputed: a scan completed, the
    // empty-folder filter changed); then collapse every root, select and expand one.
    void folderTreeReloaded();
    // Fine changes of the folder tree after nodes were taken out of it, in item-model
    // order. `parent` is null for the top level; rows are those of folderTreeRow().
    // Rows first..last under parent are about to go / are gone:
    void folderRowsAboutToBeRemoved(TFoldInfo* parent, int first, int last);
    void folderRowsRemoved(TFoldInfo* parent, int first, int last);
    // The rows under parent are about to be / were re-sorted (sizes shrank); the same
    // nodes stay, at new rows:
    void folderRowsAboutToBeReordered(TFoldInfo* parent);
    void folderRowsReordered(TFoldInfo* parent);
    // A shown node's sizes or counts changed (its size column must be redrawn):
    void folderTotalsChanged(TFoldInfo* node);
    // Every shown row's texts may have changed (the display unit); rows stay:
    void folderTreeTextsChanged();
    void collapseAllRoots();
    void selectTreeRow(TFoldInfo* node);
    void expandTreeItem(TFoldInfo* node);
    void treeButtonsChanged(bool enabled);
    void fileActionButtonsChanged(bool enabled);
    void statusBarChanged();
    // The selected folder changed (or was refreshed): the reports were emptied.
    void selectedFolderChanged(TFoldInfo* folder);
    void scanFinished(TFoldInfo* root);
    // The report waiting panel opens and closes around a report computation.
    void reportProgressOpened();
    void reportProgressClosed();
    // The report's panel is shown (showBox) with fresh rows; or only its table redraws.
    void reportShown(int index);
    void reportTableReload(int index);
    void topSizeFilesChanged();
    // The file viewer is asked for: these files under this title.
    void fileViewerRequested(const NodeList& files, const QString& title);
    void fileViewerOpened(FileViewerWindowController* viewer);
    void quitRequested();

public:
    // The reports' reaction to a new selected folder.
    void refreshAllReports();

private:
    void startParsingForPath(TFoldInfo* root);
    void handOverAndWait(TFoldInfo* root);
    void addOrUpdateTreeView(std::unique_ptr<ScanTree> tree);
    void reloadFolderTree();
    void syncFolderTree();
    bool showEmptyFolders() const;
    void reloadOutLineViewOnMainThread(TFoldInfo* root);
    void resetUsedSizeForDriveNode(TFoldInfo* root);
    void writeScanInfoFile() const;
    void openProgressWindow();
    void closeProgressWindow();
    void selectRow(TFoldInfo* node);
    void setTreeButtonsEnabled(bool enabled);
    int indexOfRoot(const TFoldInfo* root) const;
    void releaseRetiredTrees();
    // Takes the nodes out of the scan tree with their totals (FileCommands::takeOutOfTree,
    // under the tree lock); returns those taken out and marks the tree for a refresh.
    NodeList takeOutOfTree(const NodeList& gone);
    // The file commands of the shown report: failures are unchecked there.
    FileCommands fileCommands();
    // The node when the shown report's list holds it, else null.
    TFoldInfo* inShownList(const TFoldInfo* node) const;
    void updateStateForToolBarButtons();
    std::optional<QString> chooseDestination(const char* confirmKey);
    bool confirmTransfer(const char* messageKey, const QString& destination);
    bool confirmTrash();

    UserInterface& ui_;
    Scheduler& scheduler_;
    TFolderScanner scanner_;
    FolderScanOptions forcedScanOptions_;
    std::recursive_mutex mutex_;
    std::vector<DriveNode> arrDiskDrive_;
    std::vector<std::unique_ptr<ScanTree>> trees_; // parallel to roots_
    std::vector<TFoldInfo*> roots_;
    mutable FolderTreeRows treeRows_{roots_};
    mutable NodeRows appsRows_; // row look-up of the applications list, rebuilt when it changes
    // The tree the running scan fills: only the scan thread touches it until completion.
    std::unique_ptr<ScanTree> scanningTree_;
    // Trees replaced by a rescan stay alive until nothing points into them any more.
    std::vector<std::unique_ptr<ScanTree>> retiredTrees_;
    std::set<const TFoldInfo*> expanded_;
    TFoldInfo* selectedFolder_ = nullptr;
    std::unique_ptr<ProgressWindowController> progressWC_;
    std::thread scanThread_;
    std::atomic<bool> scanning_{false};
    float scanTime_ = 0;
    bool isScannedSomeThing_ = false;
    bool shouldRefresh_ = false;
    bool isRefreshReqForTree_ = false;
    bool reportsFollowSelection_ = true;
    bool treeButtonsEnabled_ = false;
    bool fileActionsEnabled_ = false;
    bool awoken_ = false;
    FolderReports reports_;
    std::unique_ptr<FileViewerWindowController> fileViewer_;
    int currentTab_ = -1;
    TFoldInfo* selectedTopFile_ = nullptr;
    QString tips_;
    QString topFilesTitle_;
};
