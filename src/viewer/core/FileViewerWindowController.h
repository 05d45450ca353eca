#pragma once

#include "reports/ReportRows.h"
#include "base/FieldTable.h"
#include "viewer/core/FileViewerFilter.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class FileCommands;
class Scheduler;
class TFoldInfo;
class UserInterface;

// What the file viewer asks of the window that opened it.
class FileViewerWindowControllerDelegate {
public:
    virtual ~FileViewerWindowControllerDelegate() = default;
    // The nodes left their place on disk (trashed or moved): take them out of the scan tree.
    virtual void removeItemsFromScannedTree(const std::vector<TFoldInfo*>& nodes) = 0;
};

// The file viewer: the files behind one report row, with sortable columns, check boxes
// (each node's stateAtViewer), a filter panel and its own file actions. This is the
// viewer's model and controller; the dialog shows what it says and forwards the user's
// actions to it. Whatever needs a person goes through UserInterface; the dialog follows
// every change through the signals below.
//
// The shown list is the filter's result while isFilteredResult() is true and the full list
// otherwise; every row index refers to the shown list. Nodes belong to the scan tree; the
// viewer keeps its own list of pointers to them. Main thread only.
class FileViewerWindowController : public QObject {
    Q_OBJECT
public:
    // The three size fields of the filter panel.
    enum class SizeField { From, To, Compare };
    Q_ENUM(SizeField)
    // Which date picker is up (at most one).
    enum class DatePicker { None, From, To };
    Q_ENUM(DatePicker)
    // The entries whose enabling validateMenuItem decides.
    enum class MenuCommand { ShowInFinder, Open, Preview, MoveToTrash, SelectAll, UnSelectAll, FilterPopUp };

    // openFilesViewerWindow:withTitle: an empty list gets the alert "there are no files in
    // this category" and no viewer (null). Otherwise a new viewer on a copy of the list,
    // sorted once by the remembered file viewer sort order.
    static std::unique_ptr<FileViewerWindowController> openFilesViewerWindow(
        const NodeList& files, const QString& withTitle, UserInterface& ui, Scheduler& scheduler,
        FileViewerWindowControllerDelegate* delegate);

    // The viewer on a copy of the list, sorted by the remembered sort order, with the filter
    // panel's labels filled and the toolbar evaluated (the window set-up).
    FileViewerWindowController(const NodeList& files, const QString& title, UserInterface& ui,
                               Scheduler& scheduler, FileViewerWindowControllerDelegate* delegate,
                               QObject* parent = nullptr);
    ~FileViewerWindowController() override;

    // ---- lists ----
    const QString& titleText() const { return titleText_; }
    const NodeList& arrFilesList() const { return arrFilesList_; }
    const NodeList& arrFilteredFiles() const { return arrFilteredFiles_; }
    bool isFilteredResult() const { return isFilteredResult_; }
    // getArrayOfFilesForPerformOperation: the shown list.
    const NodeList& getArrayOfFilesForPerformOperation() const;
    FileViewerWindowControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(FileViewerWindowControllerDelegate* delegate) { delegate_ = delegate; }

    // ---- table ----
    int rowCount() const;
    // The node of a row of the shown list; null outside it.
    TFoldInfo* nodeAt(int row) const;
    // A cell's text by column identifier ("name", "path", "type", "size", "sizeonDisk",
    // "lastModified", "createdDate", "lastAccessed", "attributes"); empty for others.
    QString columnText(int row, const QString& column) const;
    // The row's check box: shown state, and whether it can be changed (not for a node that
    // cannot be deleted, whose box shows unchecked).
    bool isCheckBoxChecked(int row) const;
    bool isCheckBoxEnabled(int row) const;
    // The node field a column sorts by ("cSize" for "size" ...); empty when it sorts by none.
    static QString sortKeyForColumn(const QString& column);

    // ---- table actions ----
    // checkBoxFileSelctionTapped: the row's node takes the box's state (a node that cannot be
    // deleted stays as it is), then the toolbar is evaluated.
    void checkBoxFileSelctionTapped(int row, bool checked);
    // doubleClickedTableFilesViewer: previews the node of the selected row (none: nothing).
    void doubleClickedTableFilesViewer(int selectedRow);
    // singleClickedTableFilesViewer: hides both date pickers.
    void singleClickedTableFilesViewer();
    // tableView:sortDescriptorsDidChange: sorts the shown list in place by the descriptors
    // (the first is the primary order) and remembers the first for the next opening.
    void sortDescriptorsDidChange(const QList<SortDescriptor>& descriptors);

    // ---- status line ----
    // setFilesTotalSizeAndCount: recomputes the three texts over the shown list.
    void setFilesTotalSizeAndCount();
    const QString& statusSizeText() const { return sizeText_; }             // "Size: 1.50 KB"
    const QString& statusSizeOnDiskText() const { return sizeOnDiskText_; } // "Size on Disk: 4 KB"
    const QString& statusCountText() const { return countText_; }           // "Files: 3"

    // ---- toolbar ----
    // checkItemsForSelection: the four buttons are enabled when a node of the shown list is
    // checked.
    void checkItemsForSelection();
    bool toolBarButtonsEnabled() const { return toolBarEnabled_; }
    // "delete.png", "copy.png", "move.png", "zip.png" or their "_dis" forms.
    QStringList toolBarButtonImages() const;
    void btnDeleteFilesTapped();
    // Choose a destination folder, then copy, move or zip the checked files there.
    void btnCopyFilesTapped();
    void btnMoveFilesTapped();
    void btnZipFilesTapped();
    // btnCloseTapped: asks the dialog to close (closeRequested).
    void btnCloseTapped();
    // windowWillClose: logs that the viewer closes.
    void windowWillClose();

    // ---- file actions (checked nodes of the shown list, in list order) ----
    // deleteFiles: after confirmation, trashes the checked nodes; those trashed leave both
    // lists and the scan tree. A node that fails keeps its row and its check box.
    void deleteFiles();
    // performMoveToTrash: after confirmation, trashes the checked nodes; when none went
    // (none checked, or every one failed) the clicked node instead, when it is shown and
    // deletable.
    void performMoveToTrash(TFoldInfo* clicked);
    // copySelectedFilesAt: after confirmation, copies the checked nodes into the folder.
    // Lists, check boxes and tree stay as they are.
    void copySelectedFilesAt(const QString& destination);
    // moveSelectedFilesAt: after confirmation, moves the checked nodes into the folder; the
    // moved ones leave both lists and the scan tree.
    void moveSelectedFilesAt(const QString& destination);
    // zipSelectedFilesAt: after confirmation, packs the checked nodes' paths (folders are
    // not expanded) into one new archive in the folder, named after the node when only one
    // is checked. An archive that cannot be written gets an alert.
    void zipSelectedFilesAt(const QString& destination);
    // removeFileFromMainScannedTree: hands the nodes to the delegate, when there is one.
    void removeFileFromMainScannedTree(const NodeList& nodes);

    // ---- context menu ----
    // validateMenuItem: with no clicked row (below 0) only the filter panel's pop-up entries;
    // otherwise an entry is enabled when the row's node may be deleted or the entry reveals
    // it. Pop-up entries are always enabled. Changes nothing.
    bool validateMenuItem(MenuCommand command, int clickedRow) const;
    // The menu's commands take the node the menu was opened on (see nodeAt), never a row,
    // and do nothing for a node the shown list no longer holds.
    void showInFinderMenuOption(const TFoldInfo* clicked);
    void openFileMenuOption(const TFoldInfo* clicked);
    void previewFileMenuOption(const TFoldInfo* clicked);
    void moveToTrashFileMenuOption(TFoldInfo* clicked);
    void selectAllFileMenuOption() { performSelectAllOrUnSelect(1); }
    void unSelectAllFileMenuOption() { performSelectAllOrUnSelect(0); }
    // performSelectAllOrUnSelect: every node of the full list (also those a filter hides,
    // and those that cannot be deleted) takes the state.
    void performSelectAllOrUnSelect(int state);
    // previewFile: remembers the path and asks for its preview.
    void previewFile(const QString& path);
    const QString& pathForPreview() const { return pathForPreview_; }

    // ---- filter panel (values live in the settings store; see FileViewerFilterPanel.cpp) ----
    // The panel's current values: the six numbers from the settings cache, the texts from
    // the store, the dates from the two date labels.
    FileViewerFilterValues filterValues() const;
    // The file-name field changed.
    void setFileNameForFilter(const QString& text);
    // controlTextDidChange: number check of a size field; stores and returns the text to
    // show (sizeFieldTextChanged when it had to be corrected).
    QString controlTextDidChange(SizeField field, const QString& text);
    // radioBtnSizeTypeTapped: the size condition type (the selected cell's tag).
    void radioBtnSizeTypeTapped(int tag);
    void setSelectedIndexForRadioButtons(int tag);
    void popUpSizeUnitForBetweenChangedIndex(int index);
    void popUpComparisionOperatorChangedIndex(int index);
    void popUpSizeUnitForComparisionWithOperatorChangedIndex(int index);
    void popUpDateTypeChangedIndex(int index);
    // popUpTopFilesChangedIndex: 0 for the first item (every match), otherwise the whole
    // number the item's title shows.
    void popUpTopFilesChangedIndex(int index, const QString& title);
    // The top-count pop-up's choices: 0 (every match) first, then the counts offered.
    static QList<int> topFilesCountChoices();
    // Date pickers: a button shows its picker and hides the other; picking a date stores it
    // ("MM/dd/yyyy", local time) and hides the picker.
    void btnSelectDateFromTapped();
    void btnSelectDateToTapped();
    void dpChooseDateFrom(const QDateTime& date);
    void dpChooseDateTo(const QDateTime& date);
    // Hides both pickers (a left mouse-up anywhere in the application does this).
    void hideDatePickers();
    DatePicker shownDatePicker() const { return shownDatePicker_; }
    const QString& lblDateFrom() const { return lblDateFrom_; }
    const QString& lblDateTo() const { return lblDateTo_; }
    // setDatePickerEnabled: the date buttons work unless the date type is "no date".
    bool datePickersEnabled() const;
    // btnApplyFilterTapped: with the size values the condition needs, shows the matches of
    // the full list (or, when nothing matches, an alert and the full list); without them an
    // alert and no change.
    void btnApplyFilterTapped();
    // btnRemoveFilterTapped: shows the full list, unchecks the rows the filter showed and
    // restores the panel's defaults.
    void btnRemoveFilterTapped();
    // readValuesForFilterOpration: fills the date labels (today when a date is empty or
    // unreadable), the radio buttons, the status line and the date buttons.
    void readValuesForFilterOpration();

Q_SIGNALS:
    // The shown list changed (rows, order, or the list itself): reload the table.
    void tableReloaded();
    void statusLineChanged();
    void toolBarButtonsChanged(bool enabled);
    // The panel's values or labels changed as a whole (set-up, reset).
    void filterPanelChanged();
    void sizeFieldTextChanged(SizeField field, const QString& text);
    void datePickerChanged(DatePicker shown);
    void datePickersEnabledChanged(bool enabled);
    void closeRequested();

private:
    void sortFilesList();
    NodeList checkedNodes() const;
    void removeFromLists(const NodeList& nodes);
    void afterNodesLeft(const NodeList& nodes);
    void updateStateForToolBarButtons();
    bool confirmTrash();
    bool confirmTransfer(const char* messageKey, const QString& destination);
    std::optional<QString> chooseDestination(const char* confirmKey);
    // The file commands as the viewer runs them: failed files stay checked.
    FileCommands fileCommands();
    bool isShown(const TFoldInfo* node) const;
    void applyFilterOnSelectedParameter();
    void showDatePicker(DatePicker picker);
    void storeFilterValue(const QString& key, const QVariant& value);

    NodeList arrFilesList_;
    NodeList arrFilteredFiles_;
    bool isFilteredResult_ = false;
    QString titleText_;
    UserInterface& ui_;
    Scheduler& scheduler_;
    FileViewerWindowControllerDelegate* delegate_ = nullptr;
    QString pathForPreview_;
    QString sizeText_;
    QString sizeOnDiskText_;
    QString countText_;
    bool toolBarEnabled_ = false;
    QString lblDateFrom_;
    QString lblDateTo_;
    DatePicker shownDatePicker_ = DatePicker::None;
};
