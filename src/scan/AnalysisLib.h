#pragma once

#include "scan/TFoldInfo.h"

#include <cstdint>
#include <span>

// Folder totals and shares. Nothing is read from disk. Stateless: make one wherever needed.
//
// Totals are computed once per node and latched (bRead for sizes and counts,
// bPerCalculated for the share). The scan thread totals a finished tree in one pass
// (totalFinishedTree) before handing it over, so every later call only reads them; the
// per-list calls below compute what is still missing, for trees built without that pass.
class AnalysisLib {
public:
    // Adds the list's content, recursively, to the accumulator: a folder (applications
    // included) counts one folder plus its content; a file its sizes and one file. Folder
    // sizes are always rebuilt from the files, never from stored folder totals.
    static void ReadFileFolderCountAndSize(std::span<TFoldInfo* const> list, TFolderInfo& folderInfo);

    // Computes each node's totals and share of the list's bytes, where not yet done.
    void ReadFoldersForTreeExplorer(std::span<TFoldInfo* const> list) const;

    // A node's totals from what lies beneath it, latched with bRead: a folder's sizes and
    // counts (an application's counts left alone with `applicationsExempt`), a file's counts
    // of 0. The all-folders report (reports/LoadAllFolders.h) computes what is missing with it.
    static void computeNodeTotals(TFoldInfo* node, bool applicationsExempt);
    // A node's share of `listBytes` (the file bytes of the list it is shown in), latched
    // with bPerCalculated.
    static void computeShare(TFoldInfo* node, std::uint64_t listBytes);

    // Totals of every node beneath `top` (not `top` itself), in one post-order pass over a
    // tree nobody else is touching: each folder gets the sizes of the files beneath it
    // (applications included) and the counts of the files and folders beneath it, each
    // file its counts of 0, and all of them bRead. Applications directly under `top` keep
    // their own counts, as the root's totals leave them (see
    // TFolderScanner::ReadFilesCountAndSizeForRoot). Shares are not touched. Works on
    // trees of any depth (no recursion).
    static void totalFinishedTree(TFoldInfo* top);

    // Number of folders that could not be read completely (TFoldInfo::isUnreadable), `top`
    // included.
    static std::int64_t countUnreadableFolders(const TFoldInfo* top);

    // The shared computation; with `applicationsExempt` an application's own file and
    // folder counts are left unchanged (the scanner's variant).
    static void readFoldersForTreeExplorer(std::span<TFoldInfo* const> list, bool applicationsExempt);
};
