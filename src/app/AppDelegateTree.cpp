// The folder tree, the selection and the status bar of the main window.

#include "app/AppDelegate.h"

#include "scan/AnalysisLib.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "settings/TextFormat.h"

#include <algorithm>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

} // namespace

const std::vector<TFoldInfo*>& AppDelegate::folderTreeChildren(TFoldInfo* item) const
{
    return treeRows_.children(item, showEmptyFolders()).nodes();
}

int AppDelegate::folderTreeRowCount(TFoldInfo* parent) const
{
    return treeRows_.children(parent, showEmptyFolders()).size();
}

TFoldInfo* AppDelegate::folderTreeChild(TFoldInfo* parent, int row) const
{
    return treeRows_.children(parent, showEmptyFolders()).at(row);
}

int AppDelegate::folderTreeRow(const TFoldInfo* node) const { return treeRows_.rowOf(node, showEmptyFolders()); }

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

int AppDelegate::appsOutlineRowCount(TFoldInfo* parent) const
{
    return parent ? int(parent->childCount()) : int(reports_.arrAllChildApps().size());
}

TFoldInfo* AppDelegate::appsOutlineChild(TFoldInfo* parent, int row) const
{
    if (row < 0 || row >= appsOutlineRowCount(parent))
        return nullptr;
    return parent ? parent->child(std::size_t(row)) : reports_.arrAllChildApps()[std::size_t(row)];
}

int AppDelegate::appsOutlineRow(const TFoldInfo* app) const
{
    // The look-up is checked against the list, which sorting and selection replace
    // behind its back; it is rebuilt only when it no longer matches.
    const NodeList& apps = reports_.arrAllChildApps();
    const int row = appsRows_.rowOf(app);
    if (row >= 0 && std::size_t(row) < apps.size() && apps[std::size_t(row)] == app)
        return row;
    if (appsRows_.nodes() == apps)
        return -1;
    appsRows_.assign(apps);
    return appsRows_.rowOf(app);
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
    return folderTreeRow(node) >= 0;
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
    if (reportsFollowSelection_)
        refreshAllReports();
}

int AppDelegate::visibleRowInFolderTree(const TFoldInfo* node) const
{
    if (!node)
        return -1;
    // Walks the shown rows top to bottom; only expanded folders contribute their rows.
    int row = 0;
    std::vector<std::pair<TFoldInfo*, int>> pending{{nullptr, 0}};
    while (!pending.empty()) {
        auto& [parent, next] = pending.back();
        if (next >= folderTreeRowCount(parent)) {
            pending.pop_back();
            continue;
        }
        TFoldInfo* shown = folderTreeChild(parent, next++);
        if (shown == node)
            return row;
        ++row;
        if (expanded_.count(shown))
            pending.emplace_back(shown, 0);
    }
    return -1;
}

void AppDelegate::outlineViewItemWillCollapse(TFoldInfo* node)
{
    const int nodeRow = visibleRowInFolderTree(node);
    const int selectedRow = visibleRowInFolderTree(selectedFolder_);
    setItemExpanded(node, false);
    if (nodeRow >= 0 && selectedRow >= 0 && nodeRow < selectedRow)
        selectRow(node);
}

void AppDelegate::refreshScannedTree()
{
    // The rows views were shown follow the tree's edits one change at a time, so a view
    // keeps its expansion, selection and scroll position.
    syncFolderTree();
    Q_EMIT folderTreeTextsChanged();
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
    if (path != QLatin1String("/"))
        return path;
    // The root's own name is "/" too; the volume's name says which disk it is.
    QString volume;
    for (const DriveNode& drive : arrDiskDrive_)
        if (drive.path == path && drive.name != path)
            volume = drive.name;
    if (volume.isEmpty())
        volume = text("ID_STARTUP_DISK");
    return TextFormat::format(QStringLiteral("/%@"), {volume});
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
