#include "ui/FolderTreeModel.h"

#include "app/AppDelegate.h"
#include "scan/TFoldInfo.h"
#include "ui/icons/IconProvider.h"
#include "ui/UiTexts.h"

FolderTreeModel::FolderTreeModel(AppDelegate& app, QObject* parent) : QAbstractItemModel(parent), app_(app)
{
    connect(&app_, &AppDelegate::folderTreeReloaded, this, &FolderTreeModel::reload);
    connect(&app_, &AppDelegate::folderRowsAboutToBeRemoved, this, [this](TFoldInfo* folder, int first, int last) {
        beginRemoveRows(indexForNode(folder), first, last);
    });
    connect(&app_, &AppDelegate::folderRowsRemoved, this, [this] { endRemoveRows(); });
    connect(&app_, &AppDelegate::folderRowsAboutToBeReordered, this, &FolderTreeModel::onRowsAboutToBeReordered);
    connect(&app_, &AppDelegate::folderRowsReordered, this, &FolderTreeModel::onRowsReordered);
    connect(&app_, &AppDelegate::folderTotalsChanged, this, &FolderTreeModel::onTotalsChanged);
    connect(&app_, &AppDelegate::folderTreeTextsChanged, this, &FolderTreeModel::onTextsChanged);
}

void FolderTreeModel::reload()
{
    beginResetModel();
    endResetModel();
    Q_EMIT reloaded();
}

void FolderTreeModel::onRowsAboutToBeReordered(TFoldInfo* parent)
{
    const QModelIndex parentIndex = indexForNode(parent);
    Q_EMIT layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)}, QAbstractItemModel::VerticalSortHint);
    moving_.clear();
    for (const QModelIndex& index : persistentIndexList())
        if (index.isValid() && nodeAt(index)->PFoldInfo() == parent)
            moving_.push_back({QPersistentModelIndex(index), nodeAt(index), index.column()});
}

void FolderTreeModel::onRowsReordered(TFoldInfo* parent)
{
    for (const Moving& entry : std::as_const(moving_)) {
        const int row = app_.folderTreeRow(entry.node);
        changePersistentIndex(entry.index, row < 0 ? QModelIndex() : createIndex(row, entry.column, entry.node));
    }
    moving_.clear();
    Q_EMIT layoutChanged({QPersistentModelIndex(indexForNode(parent))}, QAbstractItemModel::VerticalSortHint);
}

void FolderTreeModel::onTotalsChanged(TFoldInfo* node)
{
    const QModelIndex name = indexForNode(node);
    if (name.isValid())
        Q_EMIT dataChanged(name, name.siblingAtColumn(SizeColumn), {Qt::DisplayRole});
}

void FolderTreeModel::onTextsChanged()
{
    // Every size text may read differently (the unit changed); rows stay. Views repaint
    // what they show from data(), so telling them about the top level repaints the tree.
    const int roots = rowCount();
    if (roots > 0)
        Q_EMIT dataChanged(index(0, 0), index(roots - 1, SizeColumn), {Qt::DisplayRole});
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || (parent.isValid() && parent.column() != 0))
        return {};
    TFoldInfo* child = app_.folderTreeChild(nodeAt(parent), row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    TFoldInfo* node = nodeAt(child);
    if (!node || !node->PFoldInfo())
        return {};
    TFoldInfo* up = node->PFoldInfo();
    const int row = app_.folderTreeRow(up);
    return row < 0 ? QModelIndex() : createIndex(row, 0, up);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return app_.folderTreeRowCount(nodeAt(parent));
}

int FolderTreeModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() && parent.column() != 0 ? 0 : ColumnCount;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return app_.folderTreeRowCount(nullptr) > 0;
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
    const int row = app_.folderTreeRow(node);
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<TFoldInfo*>(node));
}
