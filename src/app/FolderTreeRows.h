#pragma once

#include "scan/TFoldInfo.h"

#include <cstdint>
#include <functional>
#include <span>
#include <unordered_map>
#include <vector>

// An ordered list of nodes with the row of each node at hand: child at a row and row of a
// node both in constant time. The nodes belong to their scan tree; the list only points
// to them.
class NodeRows {
public:
    NodeRows() = default;
    explicit NodeRows(std::vector<TFoldInfo*> nodes) { assign(std::move(nodes)); }

    // Replaces the list.
    void assign(std::vector<TFoldInfo*> nodes);
    // Takes rows first..last (inclusive) out; the rows below move up.
    void removeRows(int first, int last);

    int size() const { return int(nodes_.size()); }
    // The node at a row; null when the row is out of range.
    TFoldInfo* at(int row) const { return row >= 0 && row < size() ? nodes_[std::size_t(row)] : nullptr; }
    // The row of a node; -1 when the list does not hold it.
    int rowOf(const TFoldInfo* node) const;
    const std::vector<TFoldInfo*>& nodes() const { return nodes_; }

private:
    std::vector<TFoldInfo*> nodes_;
    std::unordered_map<const TFoldInfo*, int> rows_;
};

// The sizes and counts of a node as a view last showed them.
struct ShownTotals {
    std::uint64_t size = 0;
    std::uint64_t sizeOnDisk = 0;
    std::int64_t files = 0;
    std::int64_t folders = 0;
    static ShownTotals of(const TFoldInfo* node);
    bool operator==(const ShownTotals&) const = default;
};

// The rows of the folder tree: for each folder, the children the tree shows under it
// (folders that are not applications, largest first, cut to those with a size unless
// empty folders are shown), computed on first use and kept until the folder changes; the
// top level is the list of scanned roots, in their order.
//
// The lists are what views have been told. After the tree was edited (nodes taken out,
// totals reduced), sync() brings every kept list in line with the tree and tells the
// listener each step, in the order an item model needs: rows about to go, gone; a list
// about to be re-sorted, re-sorted; then the totals that changed for rows still shown.
// Between the edit and sync() the kept lists keep answering as before, so a view that
// repaints in between stays consistent.
//
// Not thread-safe: used on the thread that owns the trees once a scan has handed its tree
// over.
class FolderTreeRows {
public:
    // What sync() reports; `parent` is null for the top level.
    struct Listener {
        std::function<void(TFoldInfo* parent, int first, int last)> rowsAboutToBeRemoved;
        std::function<void(TFoldInfo* parent, int first, int last)> rowsRemoved;
        std::function<void(TFoldInfo* parent)> rowsAboutToBeReordered;
        std::function<void(TFoldInfo* parent)> rowsReordered;
        std::function<void(TFoldInfo* node)> totalsChanged;
    };

    // The children the folder tree shows under a folder, from the tree as it stands.
    static std::vector<TFoldInfo*> shownChildren(const TFoldInfo* folder, bool showEmptyFolders);

    // `roots` gives the top level; it must outlive this object.
    explicit FolderTreeRows(const std::vector<TFoldInfo*>& roots) : roots_(roots) {}

    // The rows under a folder (null: the roots), computed and kept on first use. Lists kept
    // with the other empty-folder filter are dropped first.
    const NodeRows& children(TFoldInfo* parent, bool showEmptyFolders);
    // The row of a node under its parent as shown; -1 when it is not shown there.
    int rowOf(const TFoldInfo* node, bool showEmptyFolders);

    // Brings the kept lists in line with the tree, telling `listener`. Returns false when
    // the tree gained rows that views were never told of (nodes added, or the empty-folder
    // filter changed): the lists were then all dropped, and views must reload.
    bool sync(bool showEmptyFolders, const Listener& listener);
    // Forgets every kept list (views reload).
    void clear();
    bool isKept(const TFoldInfo* parent) const { return lists_.count(parent) != 0; }

private:
    struct Kept {
        NodeRows rows;
        std::vector<ShownTotals> totals; // parallel to rows
    };
    Kept& keep(TFoldInfo* parent, bool showEmptyFolders);
    std::vector<TFoldInfo*> current(const TFoldInfo* parent, bool showEmptyFolders) const;
    bool isAttached(const TFoldInfo* node) const;
    void forgetBeneath(const TFoldInfo* node);
    void syncRemovals(Kept& kept, TFoldInfo* parent, const std::vector<TFoldInfo*>& now, const Listener& listener);
    static void syncOrder(Kept& kept, TFoldInfo* parent, std::vector<TFoldInfo*> now, const Listener& listener);
    static void syncTotals(Kept& kept, const Listener& listener);

    void useMode(bool showEmptyFolders);

    const std::vector<TFoldInfo*>& roots_;
    std::unordered_map<const TFoldInfo*, Kept> lists_;
    bool showEmptyFolders_ = false; // the filter the kept lists were made with
};
