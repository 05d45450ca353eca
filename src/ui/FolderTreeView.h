#pragma once

#include <QTreeView>

#include <unordered_set>

class AppDelegate;
class FolderTreeModel;
class TFoldInfo;

// The folder tree pane: a tree view over FolderTreeModel that reports selection, expansion
// and collapse to the controller and follows its requests (select a node, expand it,
// collapse every root). Across a reload that is not a new scan (a trash, a removal) the
// open folders and the scroll position stay as they were.
class FolderTreeView : public QTreeView {
    Q_OBJECT
public:
    FolderTreeView(AppDelegate& app, QWidget* parent = nullptr);

    FolderTreeModel* folderModel() const { return model_; }
    // The node of the selected row, or null.
    TFoldInfo* selectedNode() const;
    // Selects the node's row (opening its ancestors) and scrolls to it; false when the
    // node has no row. The controller is not told (it asked for this).
    bool selectNode(const TFoldInfo* node);
    bool isNodeExpanded(const TFoldInfo* node) const;

private:
    void onSelectionChanged();
    void onAboutToReload();
    void onReloaded();
    void restoreExpansion(const QModelIndex& parent, std::unordered_set<const TFoldInfo*>& kept);

    AppDelegate& app_;
    FolderTreeModel* model_;
    // Nodes whose rows are open. Only compared by address, never read: a node in here may
    // have left the tree (or died with it) since.
    std::unordered_set<const TFoldInfo*> expanded_;
    int scrollBeforeReload_ = 0;
    bool syncing_ = false;
};
