#include "scan/FolderWalk.h"

#include "scan/DescriptorLimit.h"
#include "scan/DirReader.h"
#include "scan/ExtensionKinds.h"
#include "scan/NodeArena.h"
#include "scan/ScanTree.h"
#include "scan/TFoldInfo.h"
#include "scan/TFolderScanner.h"
#include "settings/ExclusionList.h"
#include "settings/Log.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::string_view kLprojSuffix = ".lproj";

bool aborted() { return isScanAborted().load(std::memory_order_relaxed); }

bool isTrashName(std::string_view name)
{
    if (name.size() != 6)
        return false;
    for (std::size_t i = 0; i < 6; ++i)
        if (char(std::tolower(static_cast<unsigned char>(name[i]))) != ".trash"[i])
            return false;
    return true;
}

bool isExecutableFile(std::uint32_t mode) { return S_ISREG(mode) && (mode & 0111); }

std::string normalisedRootPath(QByteArray bytes)
{
    while (bytes.size() > 1 && bytes.endsWith('/'))
        bytes.chop(1);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

CatalogInfo catalogFrom(const EntryStat& st, bool statOk, unsigned char dtype, bool isDirectory)
{
    CatalogInfo info;
    info.isDirectory = isDirectory;
    info.mode = std::uint16_t(statOk ? st.mode : DTTOIF(dtype));
    info.logicalSize = st.size;
    info.physicalSize = st.allocated;
    info.creationDate = st.birthTime;
    info.modificationDate = st.modificationTime;
    info.accessDate = st.accessTime;
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

// A folder of the running scan, from the moment its parent's listing finds it until
// everything beneath it has been read. Owned by the walk; freed when its subtree is done.
struct FolderWalk::Job {
    TFoldInfo* node = nullptr;
    Job* parent = nullptr; // null for the root

    // Found by the parent's listing (statx of the entry).
    dev_t dev = 0;
    bool knownDevice = false;
    AccessFacts facts; // its own mode and owners, for its entries' deletability

    // Set by its own listing, before any subfolder is handed out.
    bool readOnly = false;
    int heldFd = -1;                        // kept open for opening the subfolders; -1: not kept
    std::atomic<std::uint32_t> unopened{0}; // subfolders still to open while heldFd is kept

    // Excluded paths that reach below this folder, as name prefixes relative to it; an
    // empty prefix means everything in it is excluded.
    std::vector<std::string> excludedNames;

    // Its own listing plus the subfolders not finished: the record goes when it reaches 0.
    std::atomic<std::uint32_t> pending{1};
};

// What one reading thread keeps to itself.
struct alignas(64) FolderWalk::Reader { // apart from the other readers' cache lines
    NodeArena arena;
    ExtensionKinds kinds;
    std::vector<TFoldInfo*> children; // of the folder being listed
    std::vector<Job*> found;          // its subfolders, in list order
    std::size_t nodes = 0;
    bool holdsAppRun = false;
};

// The exclusion test for the entries of one folder.
class FolderWalk::Exclusions {
public:
    explicit Exclusions(const std::vector<std::string>& names) : names_(names) {}
    bool excludes(std::string_view name) const
    {
        for (const std::string& prefix : names_)
            if (name.starts_with(prefix))
                return true;
        return false;
    }

    // For the root: "root/" plus an entry's name begins with an excluded path exactly when
    // the excluded path is a prefix of "root/" (everything is excluded), or is longer and
    // the name begins with the rest of it.
    static std::vector<std::string> forRoot(const ExclusionList* list, const std::string& rootPath)
    {
        std::vector<std::string> names;
        if (!list)
            return names;
        const std::string base = rootPath.empty() || rootPath.back() != '/' ? rootPath + '/' : rootPath;
        for (const std::string& excluded : list->excludedPrefixes()) {
            // Within a volume area every path is spared alike, so such an entry never applies
            // to the root or anything beneath it.
            if (ExclusionList::sparesVolumeArea(excluded, base))
                continue;
            if (std::string_view(base).starts_with(excluded))
                return {std::string()};
            if (excluded.size() > base.size() && std::string_view(excluded).starts_with(base))
                names.push_back(excluded.substr(base.size()));
        }
        return names;
    }

    // For a subfolder named `name` of a folder with these prefixes: the ones that go on
    // through "name/", without it. (A prefix of the name itself excluded the subfolder.)
    static std::vector<std::string> forSubfolder(const std::vector<std::string>& parentNames, std::string_view name)
    {
        std::vector<std::string> names;
        for (const std::string& prefix : parentNames) {
            if (prefix.size() > name.size() && prefix[name.size()] == '/' && std::string_view(prefix).starts_with(name))
                names.push_back(prefix.substr(name.size() + 1));
        }
        return names;
    }

private:
    const std::vector<std::string>& names_;
};

FolderWalk::FolderWalk(ScanTree& tree, const ExclusionList* exclusions, const FolderScanOptions& options,
                       int threads, WalkHooks hooks)
    : tree_(tree),
      exclusions_(exclusions),
      options_(options),
      threads_(std::max(threads, 1)),
      hooks_(std::move(hooks)),
      user_(UserIdentity::current()),
      rootPath_(normalisedRootPath(tree.root()->sPathBytes())),
      heldBudget_(DescriptorLimit::heldFolderBudget(threads_))
{
    struct stat st {};
    if (::stat(rootPath_.c_str(), &st) == 0)
        rootDevice_ = st.st_dev;
}

FolderWalk::~FolderWalk() = default;

bool FolderWalk::run()
{
    auto* root = new Job;
    root->node = tree_.root();
    root->excludedNames = Exclusions::forRoot(exclusions_, rootPath_);
    AccessFacts rootFacts;
    if (ItemAccess::readFacts(rootPath_.c_str(), rootFacts))
        root->facts = rootFacts;
    stack_.push_back(root);

    std::vector<Reader> readers(static_cast<std::size_t>(threads_));
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads_; ++i)
        helpers.emplace_back([this, &readers, i] { readLoop(readers[std::size_t(i)]); });
    readLoop(readers[0]);
    for (std::thread& helper : helpers)
        helper.join();

    // An abort leaves folders that were never read: they stay empty.
    for (Job* job : stack_)
        abandon(job);
    stack_.clear();
    for (Reader& reader : readers) {
        tree_.arena().adopt(std::move(reader.arena));
        tree_.countNodes(reader.nodes);
    }
    return rootOpened_ && !aborted();
}

void FolderWalk::readLoop(Reader& reader)
{
    Job* job = takeJob(nullptr, reader.found);
    while (job) {
        listFolder(reader, *job);
        Job* listed = job;
        job = takeJob(listed, reader.found); // hands out the subfolders first
        finishPart(listed);
    }
}

FolderWalk::Job* FolderWalk::takeJob(Job* finished, std::vector<Job*>& found)
{
    std::unique_lock lock(mutex_);
    if (finished)
        --busy_;
    // The first subfolder goes on top, so one reader walks depth-first in list order.
    for (auto it = found.rbegin(); it != found.rend(); ++it)
        stack_.push_back(*it);
    if (!found.empty() && waiting_ > 0)
        wake_.notify_all();
    found.clear();
    for (;;) {
        if (finished_ || aborted()) {
            finished_ = true;
            wake_.notify_all();
            return nullptr;
        }
        if (!stack_.empty()) {
            Job* job = stack_.back();
            stack_.pop_back();
            ++busy_;
            return job;
        }
        if (busy_ == 0) { // nothing queued and nobody reading who could find more
            finished_ = true;
            wake_.notify_all();
            return nullptr;
        }
        ++waiting_;
        wake_.wait(lock);
        --waiting_;
    }
}

void FolderWalk::listFolder(Reader& reader, Job& job)
{
    const int fd = openFolder(job);
    if (fd < 0) {
        const int error = errno;
        job.node->setIsUnreadable(true);
        qvlog(QStringLiteral("Couldn't create FSIterator for '%1': Error %2").arg(pathOf(job)).arg(error));
        return; // the folder stays in the tree, empty
    }
    if (!job.parent)
        rootOpened_ = true;
    if (hooks_.progress) {
        const qint64 folders = hooks_.folderCount->load(std::memory_order_relaxed);
        if (folders % 20 == 0) {
            std::lock_guard lock(progressMutex_);
            hooks_.progress(pathOf(job), folders);
        }
    }
    if (!job.knownDevice)
        job.dev = DirReader::deviceOf(fd);
    job.readOnly = job.parent && job.knownDevice && job.dev == job.parent->dev ? job.parent->readOnly
                                                                             : DirReader::isReadOnlyMount(fd);

    reader.children.clear();
    reader.holdsAppRun = false;
    bool stopped = false;
    FolderStream stream(fd);
    std::string_view name;
    unsigned char dtype = DT_UNKNOWN;
    while (stream.next(name, dtype)) {
        if (aborted()) {
            stopped = true;
            break;
        }
        addEntry(reader, job, fd, name, dtype);
    }

    TFoldInfo* folder = job.node;
    folder->setSubList(reader.arena, reader.children.data(), reader.children.size());
    if (stream.failed())
        folder->setIsUnreadable(true); // it keeps the entries read before the error
    // A folder holding an executable AppRun is an application directory. Only what the
    // walk saw counts, so a listing cut short by an abort may miss it.
    if (reader.holdsAppRun && folder->isFolder())
        markAsApplication(folder);

    if (stopped || aborted()) {
        // Subfolders found so far stay in the tree, unread.
        for (Job* sub : reader.found)
            delete sub;
        reader.found.clear();
    }
    job.pending.fetch_add(std::uint32_t(reader.found.size()), std::memory_order_relaxed);
    holdOrClose(job, fd, reader.found.size());
}

void FolderWalk::addEntry(Reader& reader, Job& job, int fd, std::string_view name, unsigned char dtype)
{
    // What the directory entry's type already tells is decided before any statx.
    if (dtype == DT_LNK || name.ends_with(kLprojSuffix) || Exclusions(job.excludedNames).excludes(name))
        return;
    const bool hidden = name.front() == '.';
    if (dtype == DT_DIR && hidden && !options_.scanHiddenFolders && !isTrashName(name)) {
        hooks_.hiddenFoldersSkipped->fetch_add(1, std::memory_order_relaxed);
        return;
    }
    if (dtype == DT_REG && name == ".DS_Store")
        return;

    EntryStat st;
    const bool statOk = DirReader::statAt(fd, name.data(), st); // the name ends in a NUL in the buffer
    if (statOk ? S_ISLNK(st.mode) : (dtype == DT_LNK || dtype == DT_UNKNOWN))
        return; // links never enter; nothing tells what an entry without either is
    const bool isDirectory = statOk ? S_ISDIR(st.mode) : dtype == DT_DIR;
    TFoldInfo* const folder = job.node;

    if (isDirectory) {
        if (!admitsFolder(name, statOk, st.dev))
            return;
        CatalogInfo info = catalogFrom(st, statOk, dtype, true);
        info.itemFlags = ItemFlags::Container | (hidden ? ItemFlags::Invisible : 0u)
                         | (statOk && st.dev != job.dev ? ItemFlags::Volume : 0u);
        TFoldInfo* node = TFoldInfo::create(reader.arena, name, folder, info, true);
        ++reader.nodes;
        node->setIsNonDeleteableFile(false);
        if (name.ends_with(".app")) {
            EntryStat plist;
            const std::string inner = std::string(name) + "/Contents/Info.plist";
            if (DirReader::statAt(fd, inner.c_str(), plist) && S_ISREG(plist.mode))
                markAsApplication(node);
        }
        reader.children.push_back(node);
        hooks_.folderCount->fetch_add(1, std::memory_order_relaxed);
        if (hooks_.nodeAdded)
            hooks_.nodeAdded(*node);

        auto* sub = new Job;
        sub->node = node;
        sub->parent = &job;
        sub->dev = st.dev;
        sub->knownDevice = statOk;
        sub->facts = AccessFacts{st.mode, st.uid, st.gid, false};
        if (!job.excludedNames.empty())
            sub->excludedNames = Exclusions::forSubfolder(job.excludedNames, name);
        reader.found.push_back(sub);
        return;
    }

    if (name == ".DS_Store")
        return;
    CatalogInfo info = catalogFrom(st, statOk, dtype, false);
    const bool regular = S_ISREG(info.mode);
    const bool executable = isExecutableFile(info.mode);
    info.itemFlags = (regular ? ItemFlags::PlainFile : 0u) | (hidden ? ItemFlags::Invisible : 0u)
                     | (executable ? ItemFlags::Application | ItemFlags::NativeApplication : 0u);
    TFoldInfo* node = TFoldInfo::create(reader.arena, name, folder, info, false);
    ++reader.nodes;
    node->setIsNonDeleteableFile(false);
    if (exclusions_) {
        const AccessFacts facts{st.mode, st.uid, st.gid, job.readOnly};
        AccessFacts folderFacts = job.facts;
        folderFacts.readOnlyMount = job.readOnly;
        if (!exclusions_->isNotDeletableItem(user_, facts, folderFacts))
            node->setIsNonDeleteableFile(true);
    }
    node->setKindId(reader.kinds.kindForName(name));
    reader.children.push_back(node);
    if (executable && name == "AppRun")
        reader.holdsAppRun = true;
    if (hooks_.nodeAdded)
        hooks_.nodeAdded(*node);
}

bool FolderWalk::admitsFolder(std::string_view name, bool statOk, dev_t dev) const
{
    if (name.front() == '.' && !options_.scanHiddenFolders && !isTrashName(name)) {
        hooks_.hiddenFoldersSkipped->fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    // A folder whose device cannot be learnt is entered: nothing says it lies elsewhere.
    if (options_.stayOnOneFileSystem && statOk && rootDevice_ && dev != *rootDevice_) {
        hooks_.otherFileSystemsSkipped->fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    return true;
}

int FolderWalk::openFolder(Job& job)
{
    if (!job.parent)
        return DirReader::openPath(rootPath_.c_str());
    if (job.parent->heldFd < 0)
        return openFromRoot(job);
    const int fd = DirReader::openSubfolder(job.parent->heldFd, job.node->nameBytes().data());
    const int error = errno;
    releaseParentDescriptor(job);
    errno = error;
    return fd;
}

int FolderWalk::openFromRoot(const Job& job)
{
    // The parent kept no descriptor: open each folder on the way down by name, relative to
    // the one above, so no path longer than the system allows is ever formed.
    std::vector<const TFoldInfo*> chain;
    for (const Job* j = &job; j->parent; j = j->parent)
        chain.push_back(j->node);
    int fd = DirReader::openPath(rootPath_.c_str());
    for (auto it = chain.rbegin(); fd >= 0 && it != chain.rend(); ++it) {
        const int next = DirReader::openSubfolder(fd, (*it)->nameBytes().data());
        const int error = errno;
        ::close(fd);
        errno = error;
        fd = next;
    }
    return fd;
}

void FolderWalk::releaseParentDescriptor(Job& job)
{
    Job& parent = *job.parent;
    if (parent.heldFd >= 0 && parent.unopened.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        ::close(parent.heldFd);
        held_.fetch_sub(1, std::memory_order_relaxed);
    }
}

void FolderWalk::holdOrClose(Job& job, int fd, std::size_t subfolders)
{
    if (subfolders > 0 && held_.fetch_add(1, std::memory_order_relaxed) < heldBudget_) {
        job.unopened.store(std::uint32_t(subfolders), std::memory_order_relaxed);
        job.heldFd = fd; // published to the subfolders by the stack's lock
        return;
    }
    if (subfolders > 0)
        held_.fetch_sub(1, std::memory_order_relaxed);
    ::close(fd);
}

void FolderWalk::finishPart(Job* job)
{
    // When the last folder beneath a folder is done, its record goes, and its parent may
    // be done in turn.
    while (job && job->pending.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        Job* parent = job->parent;
        delete job;
        job = parent;
    }
}

void FolderWalk::abandon(Job* job)
{
    if (job->parent)
        releaseParentDescriptor(*job);
    finishPart(job);
}

QString FolderWalk::pathOf(const Job& job) const
{
    if (!job.parent)
        return QString::fromUtf8(rootPath_.data(), qsizetype(rootPath_.size()));
    return QString::fromUtf8(job.node->sPathBytes());
}
