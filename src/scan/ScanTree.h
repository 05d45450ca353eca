#pragma once

#include "scan/NodeArena.h"
#include "scan/TFoldInfo.h"

#include <QString>

#include <memory>
#include <unordered_map>

// One scanned folder or volume: the root node and the arena that owns every node beneath
// it. Destroying the tree frees all its nodes at once; nodes must not be used after that.
//
// The root differs from the other nodes: it keeps its own path (exactly as the scan was
// asked for it) as its name bytes, has a display name for sName(), is not marked as a
// folder, has no item information and its times are 0.
class ScanTree {
public:
    ScanTree(const QString& path, const QString& displayName);
    // The path as the file system's bytes, which need not be valid UTF-8.
    ScanTree(const QByteArray& path, const QString& displayName);
    ScanTree(const ScanTree&) = delete;
    ScanTree& operator=(const ScanTree&) = delete;

    TFoldInfo* root() const { return root_; }
    NodeArena& arena() { return arena_; }
    const NodeArena& arena() const { return arena_; }

    // Number of nodes made in this tree besides the root (removed ones included).
    std::size_t nodeCount() const { return nodeCount_; }
    void countNode() { ++nodeCount_; }
    void countNodes(std::size_t count) { nodeCount_ += count; }

    // The share of its list kept for a node (TFoldInfo::fPercent): few nodes ever get one,
    // so it is kept here rather than in every node. 0 for a node without one.
    float share(const TFoldInfo* node) const
    {
        const auto it = shares_.find(node);
        return it == shares_.end() ? 0.0f : it->second;
    }
    void setShare(const TFoldInfo* node, float share) { shares_[node] = share; }

private:
    NodeArena arena_;
    TFoldInfo* root_ = nullptr;
    std::size_t nodeCount_ = 0;
    std::unordered_map<const TFoldInfo*, float> shares_;
};
