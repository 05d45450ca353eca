#pragma once

#include <QAbstractItemModel>

#include <unordered_map>
#include <vector>

class AppDelegate;
class TFoldInfo;

// The folder tree of the main window as an item model: the scanned roots, and under each
// folder its shown child folders as the controller lists them (largest first, empty ones
// only with "showEmptyFolders"). Two columns: the name with its icon, and the size in the
// "folderTree" unit (empty for a root).
//
// Rows are computed lazily: a folder's children are asked of the controller the first time
// a view needs them and kept, so row() and parent() are hash look-ups. An index's internal
// pointer is its TFoldInfo; the controller owns the nodes.
//
// A tree being scanned is never read: a reload announced while a scan runs is held back
// until the scan hands its tree over.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, SizeColumn = 1, ColumnCount = 2 };
    // The node behind an index (Qt::UserRole) as a pointer value.
    static constexpr int NodeRole = Qt::UserRole + 1;

    explicit FolderTreeModel(AppDelegate& app, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The node of an index; null for the invisible root or an invalid index.
    static TFoldInfo* nodeAt(const QModelIndex& index);
    // The index of a node (column 0), or an invalid index when the node has no row: it left
    // the tree, or its folder does not list it.
    QModelIndex indexForNode(const TFoldInfo* node) const;

    // Drops every cached row and asks the controller again (a full reset).
    void reload();

Q_SIGNALS:
    // Sent after every full reset, so views can restore expansion and selection.
    void reloaded();

private:
    struct Rows {
        std::vector<TFoldInfo*> children;
        std::unordered_map<const TFoldInfo*, int> rowOf;
    };
    const Rows& rowsOf(TFoldInfo* parent) const; // parent null: the roots
    int rowInParent(const TFoldInfo* node) const;
    void onTreeReloaded();
    void onScanHandedOver();

    AppDelegate& app_;
    mutable std::unordered_map<const TFoldInfo*, Rows> rows_;
    bool reloadPending_ = false;
};
