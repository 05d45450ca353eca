#pragma once

#include "base/UserInterface.h"
#include "reports/ReportRows.h"
#include "settings/GeneralLib.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// One bar of the popover's chart: its share of the charted total (0 to 1), its label and
// its fill (none for a group without a colour of its own).
struct BarChartEntry {
    double size = 0;
    QString sizetxt;
    std::optional<ChartColor> color;
};

// The tray popover's data: a summary of the main window's selected folder (the scanned
// path, the used space, a bar chart and a table of the main type groups, and the five
// biggest files of the whole folder or of one group). It reads the overview rows and the
// files-only list that the overview computed and never touches the disk; the widget that
// shows it (DockPopover) only reads what is here.
//
// Lifetime: the rows and files point into the selected folder's tree. Call clear() when
// the selected folder changes before the new data arrives.
class DockViewController {
public:
    // Tab codes: four group rows, and all files.
    static constexpr int kTabImages = 0, kTabDocuments = 1, kTabVideos = 2, kTabMusic = 3, kTabAllFiles = 100;
    // The detail table never shows more rows than this.
    static constexpr int kDetailRows = 5;

    explicit DockViewController(Scheduler& scheduler);

    // The end of an overview computation: keeps the rows and a copy of the files, then
    // redraws (drawBarChart) and schedules loadTop5Files.
    void setupDataInStatusMenu(const std::vector<TSpInfo>& overviewRows, const NodeList& filesOnly);
    // Forgets every row and file (the selected folder went away).
    void clear();

    // The texts, the charted rows and the chart entries; 0.5 s later loadTop5Files, then the
    // handler below.
    void drawBarChart();
    // Called after the delayed loadTop5Files, so a view can show the files it loaded.
    void setTopFilesLoadedHandler(std::function<void()> handler) { topFilesLoaded_ = std::move(handler); }
    // The detail table shows the biggest files of all files, with the all-files tab.
    void loadTop5Files();
    // Fills the detail table: 100 all files, 0..n-1 the files of that group row, anything
    // negative or out of range leaves it as it is.
    void changeDatainDetailTable(int code);
    // Marks the tab of this code as selected (the highlight follows the code, not the
    // group a row holds).
    void highlishtSelectedTab(int code);
    // A group row was clicked: rows 0 to 3 show their files and highlight the tab of the
    // same index, row 4 shows the biggest files of all; other rows do nothing.
    void groupRowSelected(int row);
    // A tab button was pressed.
    void btnTabsPressed(int code);
    // Sorts the detail list by a column ("name" or "size").
    void sortDetailTable(const QString& column, bool ascending);

    // The display unit changed: the next appearance redraws.
    void setShouldRefresh(bool refresh) { shouldRefresh_ = refresh; }
    bool shouldRefresh() const { return shouldRefresh_; }
    // The popover is about to show: redraws when a refresh is due. Returns true when it
    // redrew.
    bool viewWillAppear();

    // ---- what the widget shows ----
    const QString& txtScanPath() const { return txtScanPath_; }
    const QString& txtTotalSpaceUsed() const { return txtTotalSpaceUsed_; }
    const std::vector<TSpInfo>& arrOverViewData() const { return arrOverViewData_; }
    const std::vector<BarChartEntry>& chartData() const { return chartData_; }
    const NodeList& arrTotalFiles() const { return arrTotalFiles_; }
    const NodeList& arrTopSizeFiles() const { return arrTopSizeFiles_; }
    int selectedTab() const { return selectedTab_; }
    // Bumped at every redraw, so a view knows to make a new chart.
    int chartGeneration() const { return chartGeneration_; }

    // Group table cells: the group's label and its size ("0 Bytes" when it has no files).
    int groupRowCount() const { return static_cast<int>(arrOverViewData_.size()); }
    QString groupTypeText(int row) const;
    QString groupSizeText(int row) const;
    // The colour of a group by its label; none for a group without one.
    static std::optional<ChartColor> groupColor(const QString& sType);

    // Detail table cells: at most kDetailRows rows; rank "%ld", name, size ("--" for 0).
    int detailRowCount() const;
    TFoldInfo* detailNode(int row) const;
    QString detailRankText(int row) const;
    QString detailNameText(int row) const;
    QString detailSizeText(int row) const;

    // How a tab looks, selected or not.
    struct TabLook {
        ChartColor fill;
        double titleOpacity = 1;
        bool separatorVisible = true;
    };
    static TabLook tabLook(bool selected);

private:
    Scheduler& scheduler_;
    std::vector<TSpInfo> arrOverViewData_;
    NodeList arrTotalFiles_;
    NodeList arrTopSizeFiles_;
    std::vector<BarChartEntry> chartData_;
    QString txtScanPath_;
    QString txtTotalSpaceUsed_;
    bool shouldRefresh_ = false;
    int selectedTab_ = kTabAllFiles;
    int chartGeneration_ = 0;
    // Pending loadTop5Files calls made before a clear() or a newer redraw do nothing.
    int loadTicket_ = 0;
    std::function<void()> topFilesLoaded_;
};
