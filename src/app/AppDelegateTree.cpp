// The folder tree, the selection and the status bar of the main window.

#include "app/AppDelegate.h"

#include "scan/AnalysisLib.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "settings/TextFormat.h"

#include <algorithm>

namespace {

std::vector<TFoldInfo*> plainChildFolders(const TFoldInfo* node)
{
    std::vector<TFoldInfo*> folders;
    for (TFoldInfo* child : node->SubList())
        if (child->isFolder() && !child->isApp())
            folders.push_back(child);
    return folders;
}

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

} // namespace

std::vector<TFoldInfo*> AppDelegate::folderTreeChildren(TFoldInfo* item) const
{
    if (!item)
        return roots_;
    std::vector<TFoldInfo*> folders = plainChildFolders(item);
    AnalysisLib().ReadFoldersForTreeExplorer(folders);
    std::stable_sort(folders.begin(), folders.end(),
                     [](const TFoldInfo* a, const TFoldInfo* b) { return a->cSize() > b->cSize(); });
    if (!GeneralLib::cache().showEmptyFolders) {
        const auto shown = std::count_if(folders.begin(), folders.end(),
                                         [](const TFoldInfo* f) { return f->cSize() != 0; });
        folders.resize(std::size_t(shown));
    }
    return folders;
}

bool AppDelegate::isFolderTreeItemExpandable(const TFoldInfo* item) const
{
    if (!item)
        return true;
    const auto list = item->SubList();
    return std::any_of(list.begin(), list.end(), [](const TFoldInfo* c) { return c->isFolder() && !c->isApp(); });
}

QString AppDelegate::folderTreeText(const TFoldInfo* item, const QString& column) const
{
    if (!item)
        return {};
    if (column == QLatin1String("name"))
        return TextFormat::format(QStringLiteral("%@"), {item->sName()});
    if (column == QLatin1String("size"))
        return item->PFoldInfo() ? CommonFuncs::sizeUnitFor(GeneralLib::cache().folderTree, item->cSize()) : QString();
    return {};
}

std::vector<TFoldInfo*> AppDelegate::appsOutlineChildren(TFoldInfo* item) const
{
    if (!item)
        return reports_.arrAllChildApps();
    const auto list = item->SubList();
    return {list.begin(), list.end()};
}

QString AppDelegate::appsOutlineText(const TFoldInfo* item, const QString& column) const
{
    if (!item)
        return {};
    if (column == QLatin1String("itemName"))
        return TextFormat::format(QStringLiteral("%@"), {item->sName()});
    if (column == QLatin1String("size"))
        return item->cSize() == 0 ? QStringLiteral("--")
                                  : CommonFuncs::sizeUnitFor(GeneralLib::cache().allDiskReports, item->cSize());
    return {};
}

void AppDelegate::setItemExpanded(const TFoldInfo* node, bool expanded)
{
    if (expanded)
        expanded_.insert(node);
    else
        expanded_.erase(node);
}

bool AppDelegate::hasRowInFolderTree(const TFoldInfo* node) const
{
    if (!node)
        return false;
    TFoldInfo* parent = node->PFoldInfo();
    if (!parent)
        return indexOfRoot(node) >= 0;
    if (!expanded_.count(parent) || !hasRowInFolderTree(parent))
        return false;
    const std::vector<TFoldInfo*> shown = folderTreeChildren(parent);
    return std::find(shown.begin(), shown.end(), node) != shown.end();
}

void AppDelegate::selectRow(TFoldInfo* node)
{
    Q_EMIT selectTreeRow(node);
    outlineViewSelectionDidChange(node);
}

void AppDelegate::setTreeButtonsEnabled(bool enabled)
{
    treeButtonsEnabled_ = enabled;
    Q_EMIT treeButtonsChanged(enabled);
}

void AppDelegate::outlineViewSelectionDidChange(TFoldInfo* selected)
{
    if (!selected) {
        setTreeButtonsEnabled(false);
        return;
    }
    setTreeButtonsEnabled(true);
    if (selected == selectedFolder_ && !isRefreshReqForTree_)
        return;
    isRefreshReqForTree_ = false;
    if (selected->PFoldInfo() && selected->cSize() == 0) {
        ui_.alert(text("ID_EMPTY_FOLDER_SELECTED"), QString());
        if (selected != selectedFolder_ && selectedFolder_)
            Q_EMIT selectTreeRow(selectedFolder_);
        return;
    }
    // The view could only show the node with its ancestors open.
    for (TFoldInfo* up = selected->PFoldInfo(); up; up = up->PFoldInfo())
        expanded_.insert(up);
    selectedFolder_ = selected;
    refreshAllReports();
}

void AppDelegate::outlineViewItemWillCollapse(TFoldInfo* node)
{
    setItemExpanded(node, false);
    for (TFoldInfo* up = selectedFolder_ ? selectedFolder_->PFoldInfo() : nullptr; up; up = up->PFoldInfo()) {
        if (up == node) {
            selectRow(node);
            return;
        }
    }
}

void AppDelegate::refreshScannedTree()
{
    Q_EMIT folderTreeReloaded();
    TFoldInfo* row = selectedFolder_;
    while (row && !hasRowInFolderTree(row))
        row = row->PFoldInfo();
    if (row && !hasRowInFolderTree(row))
        row = nullptr;
    if (!row) {
        if (roots_.empty()) {
            setTreeButtonsEnabled(false);
            selectedFolder_ = nullptr;
            refreshAllReports();
            Q_EMIT selectTreeRow(nullptr);
            return;
        }
        row = roots_.front();
    }
    Q_EMIT selectTreeRow(row);
    outlineViewSelectionDidChange(row);
}

// ---- status bar ----

QString AppDelegate::statusBarPath() const
{
    if (!selectedFolder_)
        return {};
    const QString path = selectedFolder_->sPath();
    if (path == QLatin1String("/"))
        return TextFormat::format(QStringLiteral("/%@"), {selectedFolder_->sName()});
    return path;
}

QString AppDelegate::statusBarSize() const
{
    if (!selectedFolder_)
        return {};
    return TextFormat::format(QStringLiteral("%@: %@"),
                              {text("ID_SIZE"), CommonFuncs::sizeUnitFor(GeneralLib::cache().diskReportSummary,
                                                                         selectedFolder_->cSize())});
}

QString AppDelegate::statusBarSizeOnDisk() const
{
    if (!selectedFolder_)
        return {};
    return TextFormat::format(QStringLiteral("%@: %@"),
                              {text("ID_SIZE_ON_DISK"), CommonFuncs::sizeUnitFor(GeneralLib::cache().diskReportSummary,
                                                                                 selectedFolder_->cASize())});
}

QString AppDelegate::statusBarFiles() const
{
    if (!selectedFolder_)
        return {};
    return TextFormat::format(QStringLiteral("%@: %ld"), {text("ID_FILES"), selectedFolder_->cFiles()});
}

QString AppDelegate::statusBarFolders() const
{
    if (!selectedFolder_)
        return {};
    return TextFormat::format(QStringLiteral("%@: %ld"), {text("ID_FOLDERS"), selectedFolder_->cFolders()});
}

void AppDelegate::updateStatusBarOption()
{
    if (selectedFolder_)
        SettingsStore::setValue(QStringLiteral("scanpath_nag"), statusBarPath());
    Q_EMIT statusBarChanged();
}

// ---- buttons ----

QStringList AppDelegate::fileActionButtonImages() const
{
    if (fileActionsEnabled_)
        return {QStringLiteral("delete.png"), QStringLiteral("copy.png"), QStringLiteral("move.png"),
                QStringLiteral("zip.png")};
    return {QStringLiteral("delete_dis.png"), QStringLiteral("copy_dis.png"), QStringLiteral("move_dis.png"),
            QStringLiteral("zip_dis.png")};
}

void AppDelegate::setToolBarButtonEnabled(bool enabled)
{
    fileActionsEnabled_ = enabled;
    Q_EMIT fileActionButtonsChanged(enabled);
}
