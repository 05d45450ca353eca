#pragma once

#include "reports/ReportRows.h"
#include "base/FieldTable.h"

#include <QString>

#include <array>
#include <optional>
#include <cstdint>
#include <span>
#include <vector>

// What the reports show for one selected folder: the shared inputs (the folder's children,
// all its files, all its applications), every report's row list, the overview's file list,
// and the rules for when each is computed and how it is sorted. No windowing code: the
// application controller owns one instance, calls it on selection and per report visit,
// and its views read the lists.
//
// Reports are addressed by their index (ReportIndex in settings/GeneralLib.h): 0 file
// explorer, 1 file types, 2 attributes, 3 sizes, 4 dates, 5 time of day, 6 ownership,
// 7 custom types, 8 all folders, 9 applications, 10 overview, 11 obsolete files.
//
// Lifetime: the lists point into the selected folder's ScanTree. Call refreshAllReports()
// with the new folder, or clear(), before that tree is destroyed.
class FolderReports {
public:
    FolderReports();

    // ---- selection ----

    // refreshAllReports for a new selected folder (or a refreshed tree): arrFilesExplorer
    // := a copy of the folder's SubList (empty for null), every row list emptied
    // (makeBlankAllReport), totals of the explorer entries computed (AnalysisLib), and
    // arrFilesOnly / arrAllChildApps emptied. The overview's file list is left as it is.
    // The controller then shows the current report (generateReport) and fills the file
    // list with all files (loadTopSizeFilesTableFor(arrFilesOnly())).
    void refreshAllReports(TFoldInfo* folder);
    // Empties the row lists of file types, attributes, sizes, dates, times, ownership,
    // custom types, overview, all folders and obsolete files; the next visit of each
    // computes it again.
    void makeBlankAllReport();
    // Empties the rows of one report (as makeBlankAllReport does for all): a caller done
    // with them gives their memory back, and the next visit computes them again. The inputs
    // and the explorer and applications lists stay. False for an unknown index.
    bool releaseRows(int index);
    // Forgets the folder and every list, the overview's file list included.
    void clear();
    TFoldInfo* selectedFolder() const { return selectedFolder_; }

    // ---- inputs ----

    // getFilesOnlyForSelectedRoot / getAllChildAppsForSelectedFolder: build the list once
    // per selection (the first call after refreshAllReports).
    void getFilesOnlyForSelectedRoot();
    void getAllChildAppsForSelectedFolder();
    const NodeList& arrFilesExplorer() const { return arrFilesExplorer_; }
    const NodeList& arrFilesOnly() const { return arrFilesOnly_; }
    const NodeList& arrAllChildApps() const { return arrAllChildApps_; }

    // ---- report visits ----

    // The computation and sorting of one report's visit (the inputs are built first when
    // needed): the row list is computed on its first visit after it was emptied, except
    // the custom type summary and the obsolete files, computed on every visit; the file
    // explorer and the applications are only re-sorted (applications after their totals).
    // Then the rows are sorted by the report's current sort: time of day, attributes and
    // ownership always by "Size" descending; the overview's rows are not sorted. False for
    // an unknown index, or when no folder is selected.
    bool generateReport(int index);
    // True once the report's rows were computed since they were last emptied (the file
    // explorer and applications: once the inputs exist).
    bool isComputed(int index) const;

    // The sort a visit of the report applies; absent for the overview and unknown indexes.
    static std::optional<SortDescriptor> currentSort(int index);
    // A column-header click: sorts the report's list in place by the descriptor and, for
    // the reports that keep one, makes it the report's current sort (kept in the settings
    // cache, written back at exit). The overview sorts its rows without keeping the sort.
    // False for an unknown key or index.
    bool sortReport(int index, const SortDescriptor& descriptor);

    // Single recomputations the controller triggers outside a visit.
    void loadCustomTypeSummary(); // empties and recomputes the custom types, then sorts
    void loadObsoleteFiles();     // the same for the obsolete files
    void loadOverViewList();      // computes the overview rows when empty

    // ---- row lists ----
    const std::vector<TSizeInfo>& FSizeList() const { return FSizeList_; }
    const std::vector<TTimeInfo>& FTimeList() const { return FTimeList_; }
    const std::vector<TDateInfo>& FDateList() const { return FDateList_; }
    const std::vector<TExtInfo>& FExtList2() const { return FExtList2_; }
    const std::vector<TAttrInfo>& FAttrList() const { return FAttrList_; }
    const std::vector<TOwnerInfo>& FOwnerList() const { return FOwnerList_; }
    const std::vector<TSpInfo>& FSpList() const { return FSpList_; }
    const std::vector<TSpInfo>& FOverViewList() const { return FOverViewList_; }
    const std::vector<TAllFoldInfo>& FAllFolderList() const { return FAllFolderList_; }
    const NodeList& FObsoleteFileList() const { return FObsoleteFileList_; }
    // The rows of a grouped report (sizes, dates, times, types, attributes, ownership, custom
    // types, overview) through their shared shape: the number of rows (0 for other indexes)
    // and one row (null out of range).
    std::size_t groupedRowCount(int index) const;
    const TGroupRow* groupedRow(int index, std::size_t row) const;
    // The number of rows of a report's table as it stands (the explorer's entries, the
    // applications and the obsolete files for those reports; the overview's type rows);
    // 0 for an unknown index. Rows are read through the lists above, by reference.
    std::size_t rowCount(int index) const;
    // Length of arrFilesOnly when the overview was last loaded.
    std::int64_t totalFilesCount() const { return totalFilesCount_; }

    // ---- the overview's file list ----

    // Replaces the file list with the given files, sorted by the top-files sort.
    void loadTopSizeFilesTableFor(NodeList files);
    // Sorts the file list by a clicked column; the descriptor becomes the top-files sort.
    bool sortTopSizeFiles(const SortDescriptor& descriptor);
    const NodeList& arrTopSizeFiles() const { return arrTopSizeFiles_; }
    // The two link buttons' lists over arrFilesOnly.
    NodeList top100FilesBySize() const;
    NodeList top100OldestFiles() const;

    // ---- shares ----

    // A row's share of the selected folder: Size * 100 / denominator(cSize of the folder),
    // single precision.
    float share(std::uint64_t size) const;
    // The share as shown: two decimals (roundingNumber), then " %".
    QString shareText(std::uint64_t size) const;

    // ---- tree edits ----

    // Takes nodes that file actions removed from the tree out of the inputs, the obsolete
    // list and the overview's file list. Rows of the grouped reports keep them until they
    // are emptied.
    void removeNodes(std::span<TFoldInfo* const> nodes);

private:
    void generateRowsIfNeeded(int index);
    void sortForVisit(int index);

    TFoldInfo* selectedFolder_ = nullptr;
    NodeList arrFilesExplorer_;
    NodeList arrFilesOnly_;
    NodeList arrAllChildApps_;
    bool filesOnlyBuilt_ = false;
    bool appsBuilt_ = false;

    std::vector<TSizeInfo> FSizeList_;
    std::vector<TTimeInfo> FTimeList_;
    std::vector<TDateInfo> FDateList_;
    std::vector<TExtInfo> FExtList2_;
    std::vector<TAttrInfo> FAttrList_;
    std::vector<TOwnerInfo> FOwnerList_;
    std::vector<TSpInfo> FSpList_;
    std::vector<TSpInfo> FOverViewList_;
    std::vector<TAllFoldInfo> FAllFolderList_;
    NodeList FObsoleteFileList_;
    NodeList arrTopSizeFiles_;
    std::int64_t totalFilesCount_ = 0;
    std::array<bool, 12> computed_{};
};
