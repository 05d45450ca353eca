#include "scan/AnalysisLib.h"

#include "reports/ReportRows.h"

namespace {

void computeTotals(TFoldInfo* node, bool applicationsExempt)
{
    if (node->isFolder()) {
        TFolderInfo totals;
        AnalysisLib::ReadFileFolderCountAndSize(node->SubList(), totals);
        node->setCSize(totals.cFoldSize);
        node->setCASize(totals.cASize);
        if (!(applicationsExempt && node->isApp())) {
            node->setCFiles(totals.cFiles);
            node->setCFolders(totals.cFolders);
        }
    } else {
        node->setCFiles(0);
        node->setCFolders(0);
    }
    node->setBRead(true);
}

// The share of all file bytes beneath the list, computed once per call and only when a
// node of the list still needs it.
class ListTotal {
public:
    explicit ListTotal(std::span<TFoldInfo* const> list) : list_(list) {}
    std::uint64_t bytes()
    {
        if (!done_) {
            TFolderInfo totals;
            AnalysisLib::ReadFileFolderCountAndSize(list_, totals);
            bytes_ = totals.cFoldSize;
            done_ = true;
        }
        return bytes_;
    }

private:
    std::span<TFoldInfo* const> list_;
    std::uint64_t bytes_ = 0;
    bool done_ = false;
};

void computePercent(TFoldInfo* node, ListTotal& total)
{
    const std::uint64_t all = total.bytes();
    node->setFPercent(all == 0 ? 0.0f : float(double(node->cSize()) * 100.0 / double(all)));
    node->setBPerCalculated(true);
}

} // namespace

void AnalysisLib::ReadFileFolderCountAndSize(std::span<TFoldInfo* const> list, TFolderInfo& folderInfo)
{
    for (TFoldInfo* node : list) {
        if (node->isFolder()) {
            folderInfo.cFolders += 1;
            ReadFileFolderCountAndSize(node->SubList(), folderInfo);
        } else {
            folderInfo.cFoldSize += node->cSize();
            folderInfo.cASize += node->cASize();
            folderInfo.cFiles += 1;
        }
    }
}

void AnalysisLib::readFoldersForTreeExplorer(std::span<TFoldInfo* const> list, bool applicationsExempt)
{
    ListTotal total(list);
    for (TFoldInfo* node : list) {
        if (!node->bRead())
            computeTotals(node, applicationsExempt);
        if (!node->bPerCalculated())
            computePercent(node, total);
    }
}

void AnalysisLib::ReadFoldersForTreeExplorer(std::span<TFoldInfo* const> list) const
{
    readFoldersForTreeExplorer(list, false);
}

void AnalysisLib::LoadAllFolders(int mode, std::span<TFoldInfo* const> list, std::vector<TAllFoldInfo>& out) const
{
    ListTotal total(list);
    for (TFoldInfo* node : list) {
        if (!node->isFolder() || node->isApp())
            continue;
        if (!node->bRead()) {
            computeTotals(node, false);
            if (!node->bPerCalculated())
                computePercent(node, total);
        }
        TAllFoldInfo row;
        row.sName = node->sName();
        row.sPath = node->sPath();
        row.Files = node->cFiles();
        row.Folders = node->cFolders();
        row.Size = node->cSize();
        row.ASize = node->cASize();
        row.lMTime = node->lMTime();
        row.foldInfo = node;
        out.push_back(std::move(row));
        LoadAllFolders(mode, node->SubList(), out);
    }
}
