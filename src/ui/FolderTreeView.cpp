#include "ui/FolderTreeView.h"

#include "app/AppDelegate.h"
#include "ui/FolderTreeModel.h"

#include <QHeaderView>
#include <QScrollBar>

FolderTreeView::FolderTreeView(AppDelegate& app, QWidget* parent)
    : QTreeView(parent), app_(app), model_(new FolderTreeModel(app, this))
{
    setObjectName(QStringLiteral("folderTree"));
    setModel(model_);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setSortingEnabled(false); // the tree keeps the controller's largest-first order
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(FolderTreeModel::NameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(FolderTreeModel::SizeColumn, QHeaderView::Interactive);
    header()->resizeSection(FolderTreeModel::SizeColumn, 90);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &FolderTreeView::onSelectionChanged);
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &FolderTreeView::onAboutToReload);
    connect(model_, &FolderTreeModel::reloaded, this, &FolderTreeView::onReloaded);
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        const TFoldInfo* node = FolderTreeModel::nodeAt(index);
        expanded_.insert(node);
        if (!syncing_)
            app_.setItemExpanded(node, true);
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        TFoldInfo* node = FolderTreeModel::nodeAt(index);
        expanded_.erase(node);
        if (!syncing_)
            app_.outlineViewItemWillCollapse(node);
    });
    connect(&app_, &AppDelegate::selectTreeRow, this, [this](TFoldInfo* node) { selectNode(node); });
    connect(&app_, &AppDelegate::expandTreeItem, this, [this](TFoldInfo* node) {
        const QModelIndex index = model_->indexForNode(node);
        if (index.isValid())
            expand(index);
    });
    connect(&app_, &AppDelegate::collapseAllRoots, this, [this] {
        const bool wasSyncing = syncing_;
        syncing_ = true;
        collapseAll();
        expanded_.clear();
        syncing_ = wasSyncing;
    });
}

TFoldInfo* FolderTreeView::selectedNode() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : FolderTreeModel::nodeAt(rows.front());
}

bool FolderTreeView::isNodeExpanded(const TFoldInfo* node) const
{
    const QModelIndex index = model_->indexForNode(node);
    return index.isValid() && isExpanded(index);
}

bool FolderTreeView::selectNode(const TFoldInfo* node)
{
    const bool wasSyncing = syncing_;
    syncing_ = true;
    const QModelIndex index = model_->indexForNode(node);
    if (index.isValid()) {
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            if (!isExpanded(up))
                expand(up);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clearSelection();
    }
    syncing_ = wasSyncing;
    return index.isValid();
}

void FolderTreeView::onSelectionChanged()
{
    if (!syncing_)
        app_.outlineViewSelectionDidChange(selectedNode());
}

void FolderTreeView::onAboutToReload()
{
    syncing_ = true; // the reset empties the selection; the controller selects again itself
    scrollBeforeReload_ = verticalScrollBar()->value();
}

void FolderTreeView::onReloaded()
{
    std::unordered_set<const TFoldInfo*> kept;
    restoreExpansion({}, kept);
    expanded_ = std::move(kept);
    verticalScrollBar()->setValue(scrollBeforeReload_);
    syncing_ = false;
}

void FolderTreeView::restoreExpansion(const QModelIndex& parent, std::unordered_set<const TFoldInfo*>& kept)
{
    // Walks down from the roots through rows that exist, so a node that left the tree is
    // never touched.
    const int rows = model_->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model_->index(row, 0, parent);
        const TFoldInfo* node = FolderTreeModel::nodeAt(index);
        if (!expanded_.count(node))
            continue;
        expand(index);
        kept.insert(node);
        restoreExpansion(index, kept);
    }
}
