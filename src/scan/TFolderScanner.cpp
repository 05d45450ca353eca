#include "scan/TFolderScanner.h"

#include "scan/AnalysisLib.h"
#include "scan/DescriptorLimit.h"
#include "scan/FolderWalk.h"
#include "scan/ScanTree.h"
#include "settings/ExclusionList.h"

#include <QFile>

#include <algorithm>
#include <thread>

std::atomic<bool>& isScanAborted()
{
    static std::atomic<bool> flag{false};
    return flag;
}

// Deep and wide trees want many folder descriptors: allow as many as the hard limit permits.
TFolderScanner::TFolderScanner() : threads_(defaultThreadCount()) { DescriptorLimit::raiseToHardLimit(); }

TFolderScanner::~TFolderScanner() = default;

int TFolderScanner::defaultThreadCount()
{
    // Readers mostly wait: on a cold cache for the disk, which answers many requests at
    // once faster than one after the other, so more readers than cores pay (on 2 cores,
    // 16 readers scanned a million entries cold in under half the time of 2); on a warm
    // cache they cost a few per cent of CPU and no wall time (see bench/README.md).
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return int(std::clamp(cores, 16u, 32u));
}

bool TFolderScanner::scanFolder(TFoldInfo* root)
{
    ScanTree* tree = root ? root->tree() : nullptr;
    if (!tree)
        return false;
    iScanFolders_ = 0;
    hiddenFoldersSkipped_ = 0;
    otherFileSystemsSkipped_ = 0;
    std::shared_ptr<const ExclusionList> exclusions = exclusions_ ? exclusions_ : ExclusionList::shared();
    WalkHooks hooks;
    hooks.folderCount = &iScanFolders_;
    if (delegate_)
        hooks.progress = [this](const QString& path, qint64 folders) { postNotificationForParsingFolder(path, folders); };
    hooks.nodeAdded = nodeAdded_;
    hooks.hiddenFoldersSkipped = &hiddenFoldersSkipped_;
    hooks.otherFileSystemsSkipped = &otherFileSystemsSkipped_;
    FolderWalk walk(*tree, exclusions.get(), options_, threads_, std::move(hooks));
    return walk.run();
}

KindTable::Id TFolderScanner::kindForName(std::string_view name)
{
    std::lock_guard lock(kindsMutex_);
    return kinds_.kindForName(name);
}

QString TFolderScanner::getKindString(const QString& path)
{
    const QByteArray name = QFile::encodeName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    return KindTable::text(kindForName(std::string_view(name.constData(), size_t(name.size()))));
}

void TFolderScanner::postNotificationForParsingFolder(const QString& path)
{
    postNotificationForParsingFolder(path, iScanFolders());
}

void TFolderScanner::postNotificationForParsingFolder(const QString& path, qint64 folders)
{
    if (!delegate_)
        return;
    delegate_->scanProgress(QVariantMap{{QStringLiteral("fpath"), path}, {QStringLiteral("folders"), folders}});
}

void TFolderScanner::reduceSizeForParentOf(TFoldInfo* node)
{
    if (node)
        reduceSizeOfNode(node, node->PFoldInfo());
}

bool TFolderScanner::takeNodeOutOfTree(TFoldInfo* node)
{
    TFoldInfo* parent = node ? node->PFoldInfo() : nullptr;
    if (!parent || !parent->removeFromSubList(node))
        return false;
    reduceSizeForParentOf(node);
    return true;
}

void TFolderScanner::reduceSizeOfNode(TFoldInfo* node, TFoldInfo* fromParentNode)
{
    if (!node)
        return;
    const bool countsAsFile = !node->isFolder() || node->isApp();
    for (TFoldInfo* ancestor = fromParentNode; ancestor; ancestor = ancestor->PFoldInfo()) {
        if (countsAsFile)
            ancestor->setCFiles(ancestor->cFiles() - 1);
        else
            ancestor->setCFolders(ancestor->cFolders() - 1);
        ancestor->setCSize(ancestor->cSize() - node->cSize());
        ancestor->setCASize(ancestor->cASize() - node->cASize());
    }
}

void TFolderScanner::ReadFileFolderCountAndSize(std::span<TFoldInfo* const> list, TFolderInfo& folderInfo)
{
    AnalysisLib::ReadFileFolderCountAndSize(list, folderInfo);
}

void TFolderScanner::ReadFoldersForTreeExplorer(std::span<TFoldInfo* const> list)
{
    AnalysisLib::readFoldersForTreeExplorer(list, true);
}

void TFolderScanner::ReadFilesCountAndSizeForRoot(TFoldInfo* root)
{
    std::lock_guard guard(mutex_);
    ReadFoldersForTreeExplorer(root->SubList());
    for (TFoldInfo* child : root->SubList()) {
        const bool plainFolder = child->isFolder() && !child->isApp();
        if (plainFolder)
            root->setCFolders(root->cFolders() + 1);
        else
            root->setCFiles(root->cFiles() + 1);
        if (!child->isApp()) {
            root->setCFiles(root->cFiles() + child->cFiles());
            root->setCFolders(root->cFolders() + child->cFolders());
        }
        root->setCSize(root->cSize() + child->cSize());
        root->setCASize(root->cASize() + child->cASize());
    }
}
