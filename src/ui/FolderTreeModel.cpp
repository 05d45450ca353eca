#include "ui/FolderTreeModel.h"

#include "app/AppDelegate.h"
#include "scan/TFoldInfo.h"
#include "ui/IconProvider.h"
#include "ui/UiTexts.h"

FolderTreeModel::FolderTreeModel(AppDelegate& app, QObject* parent) : QAbstractItemModel(parent), app_(app)
{
    connect(&app_, &AppDelegate::folderTreeReloaded, this, &FolderTreeModel::onTreeReloaded);
    // Completion re-announces the tree and then collapses the roots: the scan thread waits
    // meanwhile, so the held-back reload can read the new tree then.
    connect(&app_, &AppDelegate::collapseAllRoots, this, &FolderTreeModel::onScanHandedOver);
    connect(&app_, &AppDelegate::scanFinished, this, &FolderTreeModel::onScanHandedOver);
    connect(&app_, &AppDelegate::progressWindowClosed, this, &FolderTreeModel::onScanHandedOver);
}

void FolderTreeModel::onTreeReloaded()
{
    if (app_.isScanning() && app_.progressWC()) {
        reloadPending_ = true; // the new root's tree is still being written
        return;
    }
    reload();
}

void FolderTreeModel::onScanHandedOver()
{
    if (reloadPending_)
        reload();
}

void FolderTreeModel::reload()
{
    reloadPending_ = false;
    beginResetModel();
    rows_.clear();
    endResetModel();
    Q_EMIT reloaded();
}

const FolderTreeModel::Rows& FolderTreeModel::rowsOf(TFoldInfo* parent) const
{
    auto found = rows_.find(parent);
    if (found != rows_.end())
        return found->second;
    Rows rows;
    // While a reload is held back the view only knows cached rows; anything new it asks
    // for could be a tree the scan thread is still writing, so it is answered empty.
    if (!reloadPending_)
        rows.children = app_.folderTreeChildren(parent);
    rows.rowOf.reserve(rows.children.size());
    for (std::size_t i = 0; i < rows.children.size(); ++i)
        rows.rowOf.emplace(rows.children[i], int(i));
    return rows_.emplace(parent, std::move(rows)).first->second;
}

int FolderTreeModel::rowInParent(const TFoldInfo* node) const
{
    const Rows& rows = rowsOf(node->PFoldInfo());
    auto found = rows.rowOf.find(node);
    return found == rows.rowOf.end() ? -1 : found->second;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || (parent.isValid() && parent.column() != 0))
        return {};
    const Rows& rows = rowsOf(nodeAt(parent));
    if (std::size_t(row) >= rows.children.size())
        return {};
    return createIndex(row, column, rows.children[std::size_t(row)]);
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    TFoldInfo* node = nodeAt(child);
    if (!node || !node->PFoldInfo())
        return {};
    TFoldInfo* up = node->PFoldInfo();
    const int row = rowInParent(up);
    return row < 0 ? QModelIndex() : createIndex(row, 0, up);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return int(rowsOf(nodeAt(parent)).children.size());
}

int FolderTreeModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() && parent.column() != 0 ? 0 : ColumnCount;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return !rowsOf(nullptr).children.empty();
    if (parent.column() != 0)
        return false;
    // The expansion control shows for any folder holding a folder, even when every one of
    // them is empty and hidden.
    return app_.isFolderTreeItemExpandable(nodeAt(parent));
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    const TFoldInfo* node = nodeAt(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return app_.folderTreeText(node, index.column() == NameColumn ? QStringLiteral("name") : QStringLiteral("size"));
    case Qt::DecorationRole:
        if (index.column() == NameColumn)
            return node->PFoldInfo() ? IconProvider::shared().folderIcon() : IconProvider::shared().driveIcon();
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ToolTipRole:
        return node->sPath();
    case NodeRole:
        return QVariant::fromValue(static_cast<void*>(const_cast<TFoldInfo*>(node)));
    default:
        return {};
    }
}

QVariant FolderTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? uiText("ID_FOLDER_TREE") : uiText("ID_SIZE");
}

TFoldInfo* FolderTreeModel::nodeAt(const QModelIndex& index)
{
    return index.isValid() ? static_cast<TFoldInfo*>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::indexForNode(const TFoldInfo* node) const
{
    if (!node)
        return {};
    if (node->PFoldInfo() && !indexForNode(node->PFoldInfo()).isValid())
        return {};
    const int row = rowInParent(node);
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<TFoldInfo*>(node));
}
