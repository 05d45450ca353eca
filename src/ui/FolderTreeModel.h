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
// A thin adapter: the controller keeps each folder's rows (computed when first asked for)
// and answers row and child look-ups in constant time; an index's internal pointer is its
// TFoldInfo, owned by the controller's trees. After file actions the controller reports
// removed rows, re-sorted lists and changed totals one by one, and the model passes them on
// as the matching item-model signals, so views keep their expansion, selection and scroll
// position. A full reset happens only when the controller reloads the tree (a scan, the
// empty-folder filter).
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, SizeColumn = 1, ColumnCount = 2 };
    // The node behind an index as a pointer value.
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

    // A full reset: every row is asked of the controller again.
    void reload();

Q_SIGNALS:
    // Sent after every full reset, so views can restore expansion and selection.
    void reloaded();

private:
    void onRowsAboutToBeReordered(TFoldInfo* parent);
    void onRowsReordered(TFoldInfo* parent);
    void onTotalsChanged(TFoldInfo* node);
    void onTextsChanged();

    AppDelegate& app_;
    // Persistent indexes under a list being re-sorted, with their nodes, until it is done.
    struct Moving {
        QPersistentModelIndex index;
        TFoldInfo* node;
        int column;
    };
    QList<Moving> moving_;
};
