#include "app/FolderTreeRows.h"

#include "scan/AnalysisLib.h"

#include <algorithm>
#include <unordered_set>

// ---- NodeRows ----

void NodeRows::assign(std::vector<TFoldInfo*> nodes)
{
    nodes_ = std::move(nodes);
    rows_.clear();
    rows_.reserve(nodes_.size());
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        rows_.emplace(nodes_[i], int(i));
}

void NodeRows::removeRows(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, size() - 1);
    if (first > last)
        return;
    for (int row = first; row <= last; ++row)
        rows_.erase(nodes_[std::size_t(row)]);
    nodes_.erase(nodes_.begin() + first, nodes_.begin() + last + 1);
    for (std::size_t i = std::size_t(first); i < nodes_.size(); ++i)
        rows_[nodes_[i]] = int(i);
}

int NodeRows::rowOf(const TFoldInfo* node) const
{
    const auto it = rows_.find(node);
    return it == rows_.end() ? -1 : it->second;
}

ShownTotals ShownTotals::of(const TFoldInfo* node)
{
    return {node->cSize(), node->cASize(), node->cFiles(), node->cFolders()};
}

// ---- FolderTreeRows ----

std::vector<TFoldInfo*> FolderTreeRows::shownChildren(const TFoldInfo* folder, bool showEmptyFolders)
{
    std::vector<TFoldInfo*> folders;
    for (TFoldInfo* child : folder->SubList())
        if (child->isFolder() && !child->isApp())
            folders.push_back(child);
    // Totals of a scanned tree are all there already; this fills in those of a tree built
    // otherwise, and gives a node met here first its share of this list.
    AnalysisLib().ReadFoldersForTreeExplorer(folders);
    std::stable_sort(folders.begin(), folders.end(),
                     [](const TFoldInfo* a, const TFoldInfo* b) { return a->cSize() > b->cSize(); });
    if (!showEmptyFolders) {
        const auto shown = std::count_if(folders.begin(), folders.end(), [](const TFoldInfo* f) { return f->cSize() != 0; });
        folders.resize(std::size_t(shown));
    }
    return folders;
}

std::vector<TFoldInfo*> FolderTreeRows::current(const TFoldInfo* parent, bool showEmptyFolders) const
{
    return parent ? shownChildren(parent, showEmptyFolders) : roots_;
}

void FolderTreeRows::useMode(bool showEmptyFolders)
{
    if (showEmptyFolders == showEmptyFolders_)
        return;
    lists_.clear();
    showEmptyFolders_ = showEmptyFolders;
}

FolderTreeRows::Kept& FolderTreeRows::keep(TFoldInfo* parent, bool showEmptyFolders)
{
    useMode(showEmptyFolders);
    auto it = lists_.find(parent);
    if (it != lists_.end())
        return it->second;
    Kept kept;
    kept.rows.assign(current(parent, showEmptyFolders));
    for (const TFoldInfo* node : kept.rows.nodes())
        kept.totals.push_back(ShownTotals::of(node));
    return lists_.emplace(parent, std::move(kept)).first->second;
}

const NodeRows& FolderTreeRows::children(TFoldInfo* parent, bool showEmptyFolders)
{
    return keep(parent, showEmptyFolders).rows;
}

int FolderTreeRows::rowOf(const TFoldInfo* node, bool showEmptyFolders)
{
    if (!node)
        return -1;
    return children(node->PFoldInfo(), showEmptyFolders).rowOf(node);
}

void FolderTreeRows::clear() { lists_.clear(); }

bool FolderTreeRows::isAttached(const TFoldInfo* node) const
{
    for (; node->PFoldInfo(); node = node->PFoldInfo())
        if (node->PFoldInfo()->indexOfChild(node) < 0)
            return false;
    return std::find(roots_.begin(), roots_.end(), node) != roots_.end();
}

void FolderTreeRows::forgetBeneath(const TFoldInfo* node)
{
    for (auto it = lists_.begin(); it != lists_.end();) {
        bool beneath = false;
        for (const TFoldInfo* up = it->first; up && !beneath; up = up->PFoldInfo())
            beneath = up == node;
        it = beneath ? lists_.erase(it) : std::next(it);
    }
}

bool FolderTreeRows::sync(bool showEmptyFolders, const Listener& listener)
{
    if (showEmptyFolders != showEmptyFolders_) {
        useMode(showEmptyFolders);
        return false;
    }
    // Parents before their children, so a list under a row that goes is forgotten before
    // it would be looked at.
    std::vector<std::pair<int, const TFoldInfo*>> order;
    for (const auto& [parent, kept] : lists_) {
        int depth = -1;
        for (const TFoldInfo* up = parent; up; up = up->PFoldInfo())
            ++depth;
        order.emplace_back(depth, parent);
    }
    std::sort(order.begin(), order.end());

    for (const auto& [depth, key] : order) {
        auto it = lists_.find(key);
        if (it == lists_.end())
            continue;
        TFoldInfo* parent = const_cast<TFoldInfo*>(key);
        if (parent && !isAttached(parent)) {
            forgetBeneath(parent); // never shown, or its row went with an ancestor's
            continue;
        }
        Kept& kept = it->second;
        std::vector<TFoldInfo*> now = current(parent, showEmptyFolders);
        const bool gained = std::any_of(now.begin(), now.end(), [&](const TFoldInfo* n) { return kept.rows.rowOf(n) < 0; });
        if (gained) {
            clear();
            return false;
        }
        syncRemovals(kept, parent, now, listener);
        syncOrder(kept, parent, std::move(now), listener);
        syncTotals(kept, listener);
    }
    return true;
}

void FolderTreeRows::syncRemovals(Kept& kept, TFoldInfo* parent, const std::vector<TFoldInfo*>& now,
                                  const Listener& listener)
{
    const std::unordered_set<const TFoldInfo*> stays(now.begin(), now.end());
    // From the bottom up, one contiguous run of rows at a time, so the rows above a run
    // keep their numbers while it goes.
    int row = kept.rows.size() - 1;
    while (row >= 0) {
        if (stays.count(kept.rows.at(row))) {
            --row;
            continue;
        }
        const int last = row;
        while (row - 1 >= 0 && !stays.count(kept.rows.at(row - 1)))
            --row;
        const int first = row;
        if (listener.rowsAboutToBeRemoved)
            listener.rowsAboutToBeRemoved(parent, first, last);
        std::vector<const TFoldInfo*> gone(kept.rows.nodes().begin() + first, kept.rows.nodes().begin() + last + 1);
        kept.rows.removeRows(first, last);
        kept.totals.erase(kept.totals.begin() + first, kept.totals.begin() + last + 1);
        if (listener.rowsRemoved)
            listener.rowsRemoved(parent, first, last);
        for (const TFoldInfo* node : gone)
            forgetBeneath(node);
        --row;
    }
}

void FolderTreeRows::syncOrder(Kept& kept, TFoldInfo* parent, std::vector<TFoldInfo*> now, const Listener& listener)
{
    if (kept.rows.nodes() == now)
        return;
    if (listener.rowsAboutToBeReordered)
        listener.rowsAboutToBeReordered(parent);
    std::vector<ShownTotals> totals;
    totals.reserve(now.size());
    for (const TFoldInfo* node : now)
        totals.push_back(kept.totals[std::size_t(kept.rows.rowOf(node))]);
    kept.rows.assign(std::move(now));
    kept.totals = std::move(totals);
    if (listener.rowsReordered)
        listener.rowsReordered(parent);
}

void FolderTreeRows::syncTotals(Kept& kept, const Listener& listener)
{
    for (int row = 0; row < kept.rows.size(); ++row) {
        TFoldInfo* node = kept.rows.at(row);
        const ShownTotals now = ShownTotals::of(node);
        if (now == kept.totals[std::size_t(row)])
            continue;
        kept.totals[std::size_t(row)] = now;
        if (listener.totalsChanged)
            listener.totalsChanged(node);
    }
}
