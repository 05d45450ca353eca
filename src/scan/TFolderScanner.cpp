#include "scan/TFolderScanner.h"

#include "scan/AnalysisLib.h"
#include "scan/DirReader.h"
#include "scan/ReadAheadPool.h"
#include "scan/ScanTree.h"
#include "settings/ExclusionList.h"
#include "settings/Log.h"

#include <QFile>
#include <QMimeDatabase>

#include <algorithm>
#include <optional>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

std::atomic<bool>& isScanAborted()
{
    static std::atomic<bool> flag{false};
    return flag;
}

namespace {

constexpr std::string_view kLprojSuffix = ".lproj";

bool aborted() { return isScanAborted().load(std::memory_order_relaxed); }

// Deep trees keep one descriptor open per level and the read-ahead keeps a few hundred
// more: allow as many as the hard limit permits.
void raiseDescriptorLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

std::string normalisedRootPath(const QString& path)
{
    QByteArray bytes = QFile::encodeName(path);
    while (bytes.size() > 1 && bytes.endsWith('/'))
        bytes.chop(1);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

std::string joinPath(const std::string& folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path = folder;
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    path.append(name);
    return path;
}

bool isTrashName(std::string_view name)
{
    if (name.size() != 6)
        return false;
    for (std::size_t i = 0; i < 6; ++i)
        if (char(std::tolower(static_cast<unsigned char>(name[i]))) != ".trash"[i])
            return false;
    return true;
}

std::optional<dev_t> deviceOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return st.st_dev;
}

bool isExecutableFile(std::uint32_t mode) { return S_ISREG(mode) && (mode & 0111); }

// The exclusion test for the entries of one folder, narrowed to the entries that can
// match there: "folder/" plus the entry's name begins with an excluded path exactly when
// the excluded path is a prefix of "folder/", or it is longer and the name begins with the
// rest of it. Same answers as testing each full path, with no path built per entry.
class FolderExclusions {
public:
    FolderExclusions(const ExclusionList* list, const std::string& folderPath)
    {
        if (!list)
            return;
        const std::string base = folderPath.empty() || folderPath.back() != '/' ? folderPath + '/' : folderPath;
        for (const std::string& excluded : list->excludedPrefixes()) {
            // Within a volume area every path is spared alike, so such an entry never applies.
            if (ExclusionList::sparesVolumeArea(excluded, base))
                continue;
            if (std::string_view(base).starts_with(excluded))
                everything_ = true;
            else if (excluded.size() > base.size() && std::string_view(excluded).starts_with(base))
                namePrefixes_.push_back(excluded.substr(base.size()));
        }
    }

    bool excludes(std::string_view name) const
    {
        if (everything_)
            return true;
        for (const std::string& prefix : namePrefixes_)
            if (name.starts_with(prefix))
                return true;
        return false;
    }

private:
    bool everything_ = false;
    std::vector<std::string> namePrefixes_;
};

CatalogInfo catalogFrom(const DirEntry& entry, bool isDirectory)
{
    CatalogInfo info;
    info.isDirectory = isDirectory;
    info.mode = std::uint16_t(entry.statOk ? entry.mode : DTTOIF(entry.dtype));
    info.logicalSize = entry.size;
    info.physicalSize = entry.allocated;
    info.creationDate = entry.birthTime;
    info.modificationDate = entry.modificationTime;
    info.accessDate = entry.accessTime;
    return info;
}

void markAsApplication(TFoldInfo* folder)
{
    static const KindTable::Id kApplication = KindTable::intern(QStringLiteral("Application"));
    folder->setIsApp(true);
    folder->setItemFlags(folder->itemAttrInfo().flags | ItemFlags::Package | ItemFlags::Application
                         | ItemFlags::NativeApplication);
    folder->setKindId(kApplication);
}

} // namespace

// What one scan carries through the walk.
struct TFolderScanner::Walk {
    ScanTree& tree;
    const ExclusionList* exclusions;
    FolderScanOptions options;
    std::optional<dev_t> rootDevice; // unknown when the root cannot be asked
    UserIdentity user; // who may delete what, read once per scan
    std::unique_ptr<ReadAheadPool> pool;
    std::vector<std::vector<TFoldInfo*>> childrenByDepth; // reused buffers, one per depth
};

// A folder about to be listed.
struct TFolderScanner::FolderTask {
    TFoldInfo* node = nullptr;
    DirLocation location;
    AccessFacts facts; // the folder's own owner and mode, for its entries' deletability
    ReadAheadPool::JobPtr job;
};

TFolderScanner::TFolderScanner() : threads_(defaultThreadCount()) { raiseDescriptorLimit(); }

TFolderScanner::~TFolderScanner() = default;

int TFolderScanner::defaultThreadCount()
{
    // One reader per core: on a warm cache more threads only contend in the kernel, and on
    // a cold one they gained nothing measurable either (see bench/README.md).
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return int(std::min(cores, 16u));
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
    const std::string rootPath = normalisedRootPath(root->sPath());
    Walk walk{*tree, exclusions.get(), options_, deviceOf(rootPath), UserIdentity::current(), nullptr, {}};
    if (threads_ > 1)
        walk.pool = std::make_unique<ReadAheadPool>(threads_ - 1, isScanAborted());

    FolderTask task;
    task.node = root;
    task.location.path = rootPath;
    AccessFacts rootFacts;
    if (ItemAccess::readFacts(task.location.path.c_str(), rootFacts))
        task.facts = rootFacts;
    return scanMe(walk, task, 0);
}

bool TFolderScanner::scanMe(Walk& walk, FolderTask& task, std::size_t depth)
{
    if (aborted())
        return false;
    DirListing listing = task.job ? walk.pool->take(task.job) : DirReader::read(task.location);
    const std::string& path = task.location.path;
    if (!listing.opened) {
        task.node->setIsUnreadable(true);
        qvlog(QStringLiteral("Couldn't create FSIterator for '%1': Error %2")
                  .arg(QString::fromUtf8(path.data(), qsizetype(path.size())))
                  .arg(listing.openError));
        return false;
    }
    if (iScanFolders() % 20 == 0)
        postNotificationForParsingFolder(QString::fromUtf8(path.data(), qsizetype(path.size())));

    if (walk.childrenByDepth.size() <= depth)
        walk.childrenByDepth.resize(depth + 1);
    std::vector<TFoldInfo*>& children = walk.childrenByDepth[depth];
    children.clear();
    std::vector<FolderTask> subfolders;

    const FolderExclusions exclusions(walk.exclusions, path);
    AccessFacts folderFacts = task.facts;
    folderFacts.readOnlyMount = listing.readOnly;
    TFoldInfo* const folder = task.node;
    bool stopped = false;
    bool holdsAppRun = false;

    for (const DirEntry& entry : listing.entries) {
        if (aborted()) {
            stopped = true;
            break;
        }
        const std::string_view name = listing.name(entry);
        const bool isLink = entry.statOk ? S_ISLNK(entry.mode) : entry.dtype == DT_LNK;
        if (isLink || name.ends_with(kLprojSuffix) || exclusions.excludes(name))
            continue;
        const bool isDirectory = entry.statOk ? S_ISDIR(entry.mode) : entry.dtype == DT_DIR;
        if (!entry.statOk && entry.dtype == DT_UNKNOWN)
            continue; // nothing tells what it is
        const bool hidden = name.front() == '.';
        if (isDirectory) {
            if (!admitsFolder(walk, name, entry))
                continue;
            CatalogInfo info = catalogFrom(entry, true);
            info.itemFlags = ItemFlags::Container | (hidden ? ItemFlags::Invisible : 0u)
                             | (entry.statOk && entry.dev != listing.dev ? ItemFlags::Volume : 0u);
            TFoldInfo* node = TFoldInfo::create(walk.tree.arena(), name, folder, info, true);
            walk.tree.countNode();
            node->setIsNonDeleteableFile(false);
            if (name.ends_with(".app")) {
                DirEntry plist;
                const std::string inner = std::string(name) + "/Contents/Info.plist";
                if (DirReader::statAt(listing.fd->fd(), inner.c_str(), plist) && S_ISREG(plist.mode))
                    markAsApplication(node);
            }
            children.push_back(node);
            iScanFolders_.fetch_add(1, std::memory_order_relaxed);
            if (nodeAdded_)
                nodeAdded_(*node);

            FolderTask sub;
            sub.node = node;
            sub.location.parent = listing.fd;
            sub.location.name = std::string(name);
            sub.location.path = joinPath(path, name);
            sub.location.dev = entry.dev;
            sub.location.knownDevice = entry.statOk;
            sub.location.parentDev = listing.dev;
            sub.location.parentReadOnly = listing.readOnly;
            sub.facts = AccessFacts{entry.mode, entry.uid, entry.gid, false};
            subfolders.push_back(std::move(sub));
        } else {
            if (name == ".DS_Store")
                continue;
            CatalogInfo info = catalogFrom(entry, false);
            const bool regular = S_ISREG(info.mode);
            const bool executable = isExecutableFile(info.mode);
            info.itemFlags = (regular ? ItemFlags::PlainFile : 0u) | (hidden ? ItemFlags::Invisible : 0u)
                             | (executable ? ItemFlags::Application | ItemFlags::NativeApplication : 0u);
            TFoldInfo* node = TFoldInfo::create(walk.tree.arena(), name, folder, info, false);
            walk.tree.countNode();
            node->setIsNonDeleteableFile(false);
            if (walk.exclusions) {
                const AccessFacts facts{entry.mode, entry.uid, entry.gid, listing.readOnly};
                if (!walk.exclusions->isNotDeletableItem(walk.user, facts, folderFacts))
                    node->setIsNonDeleteableFile(true);
            }
            node->setKindId(kindForName(name));
            children.push_back(node);
            if (executable && name == "AppRun")
                holdsAppRun = true;
            if (nodeAdded_)
                nodeAdded_(*node);
        }
    }

    folder->setSubList(walk.tree.arena(), children.data(), children.size());
    if (listing.readError != 0)
        folder->setIsUnreadable(true);
    // A folder holding an executable AppRun is an application directory. Only what the
    // walk saw counts, so a listing cut short by an abort may miss it.
    if (holdsAppRun && folder->isFolder())
        markAsApplication(folder);
    if (stopped || aborted())
        return false;

    // The walk enters the first subfolder at once and reads it itself; the helpers read
    // the later ones meanwhile, so they are ready when the walk comes back up.
    if (walk.pool && subfolders.size() > 1) {
        std::vector<DirLocation> locations;
        locations.reserve(subfolders.size() - 1);
        for (std::size_t i = 1; i < subfolders.size(); ++i)
            locations.push_back(subfolders[i].location);
        std::vector<ReadAheadPool::JobPtr> jobs = walk.pool->submitInReverse(std::move(locations));
        for (std::size_t i = 0; i < jobs.size(); ++i)
            subfolders[i + 1].job = std::move(jobs[i]);
    }
    listing = DirListing(); // the entries are in the tree now; subfolders hold the descriptor

    // Descend in list order. Files come between the folders in SubList, and an abort seen
    // at any node ends the walk; checking before each folder and once after is the same.
    for (FolderTask& sub : subfolders) {
        if (aborted())
            return false;
        scanMe(walk, sub, depth + 1);
        sub = FolderTask(); // release the listing's descriptor and job early
    }
    return !aborted();
}

bool TFolderScanner::admitsFolder(const Walk& walk, std::string_view name, const DirEntry& entry)
{
    if (name.front() == '.' && !isTrashName(name) && !walk.options.scanHiddenFolders) {
        hiddenFoldersSkipped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    // A folder whose device cannot be learnt is entered: nothing says it lies elsewhere.
    if (walk.options.stayOnOneFileSystem && entry.statOk && walk.rootDevice && entry.dev != *walk.rootDevice) {
        otherFileSystemsSkipped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    return true;
}

KindTable::Id TFolderScanner::kindForName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    std::string ext = dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (auto it = kindCache_.find(ext); it != kindCache_.end())
        return it->second;
    // Ask the MIME database about the extension alone, so one lookup serves every name
    // that shares it, whichever name came first.
    static thread_local QMimeDatabase database;
    QString kind;
    if (!ext.empty()) {
        const QMimeType type = database.mimeTypeForFile(
            QStringLiteral("x.") + QString::fromUtf8(ext.data(), qsizetype(ext.size())),
            QMimeDatabase::MatchExtension);
        if (type.isValid() && !type.isDefault())
            kind = type.comment();
    }
    if (kind.isEmpty())
        kind = QStringLiteral("Unknown File Type");
    kind.remove(QLatin1Char('\''));
    const KindTable::Id id = KindTable::intern(kind);
    kindCache_.emplace(std::move(ext), id);
    return id;
}

QString TFolderScanner::getKindString(const QString& path)
{
    const QByteArray name = QFile::encodeName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    return KindTable::text(kindForName(std::string_view(name.constData(), size_t(name.size()))));
}

void TFolderScanner::postNotificationForParsingFolder(const QString& path)
{
    if (!delegate_)
        return;
    delegate_->scanProgress(QVariantMap{{QStringLiteral("fpath"), path},
                                        {QStringLiteral("folders"), iScanFolders()}});
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
