#pragma once

#include "scan/TFoldInfo.h"

#include <span>
#include <vector>

struct TAllFoldInfo;

// Folder totals, computed lazily per list of siblings after a scan and latched per node
// (bRead for sizes and counts, bPerCalculated for the share). Nothing is read from disk.
// Stateless: make one wherever needed.
class AnalysisLib {
public:
    // Adds the list's content, recursively, to the accumulator: a folder (applications
    // included) counts one folder plus its content; a file its sizes and one file. Folder
    // sizes are always rebuilt from the files, never from stored folder totals.
    static void ReadFileFolderCountAndSize(std::span<TFoldInfo* const> list, TFolderInfo& folderInfo);

    // Computes each node's totals and share of the list's bytes, where not yet done.
    void ReadFoldersForTreeExplorer(std::span<TFoldInfo* const> list) const;

    // Appends one row per folder beneath the list, in pre-order (a folder before its
    // subfolders, siblings in list order). Applications and their content are passed over.
    // `mode` is always 0 (all folders).
    void LoadAllFolders(int mode, std::span<TFoldInfo* const> list, std::vector<TAllFoldInfo>& out) const;

    // The shared computation; with `applicationsExempt` an application's own file and
    // folder counts are left unchanged (the scanner's variant).
    static void readFoldersForTreeExplorer(std::span<TFoldInfo* const> list, bool applicationsExempt);
};
