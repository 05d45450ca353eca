#pragma once

#include "reports/ReportRows.h"

#include <span>
#include <vector>

// The rows of the all-folders report: appends one row per folder beneath the list, in
// pre-order (a folder before its subfolders, siblings in list order). Applications and
// their content are passed over. A folder whose totals are not yet computed gets them, and
// its share of its own list's file bytes. `mode` is always 0 (all folders). Works on trees
// of any depth (no recursion).
void LoadAllFolders(int mode, std::span<TFoldInfo* const> list, std::vector<TAllFoldInfo>& out);
