#include "scan/AnalysisLib.h"

#include <vector>

namespace {

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

} // namespace

void AnalysisLib::computeNodeTotals(TFoldInfo* node, bool applicationsExempt)
{
    if (node->isFolder()) {
        TFolderInfo totals;
        ReadFileFolderCountAndSize(node->SubList(), totals);
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

void AnalysisLib::computeShare(TFoldInfo* node, std::uint64_t listBytes)
{
    node->setFPercent(listBytes == 0 ? 0.0f : float(double(node->cSize()) * 100.0 / double(listBytes)));
    node->setBPerCalculated(true);
}

void AnalysisLib::ReadFileFolderCountAndSize(std::span<TFoldInfo* const> list, TFolderInfo& folderInfo)
{
    // Lists still to add, on an explicit stack: a tree of any depth is summed without
    // recursion. The order of the additions does not change the sums.
    std::vector<std::span<TFoldInfo* const>> pending{list};
    while (!pending.empty()) {
        const std::span<TFoldInfo* const> current = pending.back();
        pending.pop_back();
        for (TFoldInfo* node : current) {
            if (node->isFolder()) {
                folderInfo.cFolders += 1;
                if (node->childCount() > 0)
                    pending.push_back(node->SubList());
            } else {
                folderInfo.cFoldSize += node->cSize();
                folderInfo.cASize += node->cASize();
                folderInfo.cFiles += 1;
            }
        }
    }
}

void AnalysisLib::readFoldersForTreeExplorer(std::span<TFoldInfo* const> list, bool applicationsExempt)
{
    ListTotal total(list);
    for (TFoldInfo* node : list) {
        if (!node->bRead())
            computeNodeTotals(node, applicationsExempt);
        if (!node->bPerCalculated())
            computeShare(node, total.bytes());
    }
}

void AnalysisLib::ReadFoldersForTreeExplorer(std::span<TFoldInfo* const> list) const
{
    readFoldersForTreeExplorer(list, false);
}

void AnalysisLib::totalFinishedTree(TFoldInfo* top)
{
    if (!top)
        return;
    // One frame per folder on the path being walked; a folder's sums are complete when its
    // last child has been visited, and are then added to its parent's frame.
    struct Frame {
        TFoldInfo* node;
        std::size_t next = 0;
        TFolderInfo sum;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{top, 0, {}});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.node->childCount()) {
            TFoldInfo* child = frame.node->child(frame.next++);
            if (child->isFolder()) {
                stack.push_back(Frame{child, 0, {}});
                continue;
            }
            frame.sum.cFoldSize += child->cSize();
            frame.sum.cASize += child->cASize();
            frame.sum.cFiles += 1;
            child->setBRead(true);
            continue;
        }
        const Frame done = frame;
        stack.pop_back();
        if (stack.empty())
            break; // `top` itself is left to its owner
        TFoldInfo* node = done.node;
        node->setCSize(done.sum.cFoldSize);
        node->setCASize(done.sum.cASize);
        Frame& parent = stack.back();
        if (!(node->isApp() && parent.node == top)) {
            node->setCFiles(done.sum.cFiles);
            node->setCFolders(done.sum.cFolders);
        }
        node->setBRead(true);
        parent.sum.cFolders += 1 + done.sum.cFolders;
        parent.sum.cFiles += done.sum.cFiles;
        parent.sum.cFoldSize += done.sum.cFoldSize;
        parent.sum.cASize += done.sum.cASize;
    }
}

std::int64_t AnalysisLib::countUnreadableFolders(const TFoldInfo* top)
{
    std::int64_t count = 0;
    std::vector<const TFoldInfo*> pending;
    if (top)
        pending.push_back(top);
    while (!pending.empty()) {
        const TFoldInfo* node = pending.back();
        pending.pop_back();
        if (node->isUnreadable())
            ++count;
        for (const TFoldInfo* child : node->SubList())
            if (child->hasFolderPart())
                pending.push_back(child);
    }
    return count;
}
