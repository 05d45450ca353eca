#include "reports/LoadAllFolders.h"

#include "scan/AnalysisLib.h"

#include <optional>

namespace {

// One list on the way down: the next node to visit, and the list's file bytes once a node
// of it needs its share.
struct Level {
    std::span<TFoldInfo* const> list;
    std::size_t next = 0;
    std::optional<std::uint64_t> bytes;

    std::uint64_t fileBytes()
    {
        if (!bytes) {
            TFolderInfo totals;
            AnalysisLib::ReadFileFolderCountAndSize(list, totals);
            bytes = totals.cFoldSize;
        }
        return *bytes;
    }
};

TAllFoldInfo rowFor(TFoldInfo* node)
{
    TAllFoldInfo row;
    row.Files = node->cFiles();
    row.Folders = node->cFolders();
    row.Size = node->cSize();
    row.ASize = node->cASize();
    row.lMTime = node->lMTime();
    row.foldInfo = node;
    return row;
}

} // namespace

void LoadAllFolders(int /*mode*/, std::span<TFoldInfo* const> list, std::vector<TAllFoldInfo>& out)
{
    std::vector<Level> levels{Level{list, 0, std::nullopt}};
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.list.size()) {
            levels.pop_back();
            continue;
        }
        TFoldInfo* node = level.list[level.next++];
        if (!node->isFolder() || node->isApp())
            continue;
        if (!node->bRead()) {
            AnalysisLib::computeNodeTotals(node, false);
            if (!node->bPerCalculated())
                AnalysisLib::computeShare(node, level.fileBytes());
        }
        out.push_back(rowFor(node));
        if (node->childCount() > 0)
            levels.push_back(Level{node->SubList(), 0, std::nullopt}); // `level` may move: not used after this
    }
}
