#pragma once

#include "scan/ExtensionKinds.h"
#include "base/FolderScanOptions.h"
#include "scan/TFoldInfo.h"

#include <QString>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

class ExclusionList;

// Receives the scanner's progress reports, on the scanning thread.
class TFolderScannerDelagate {
public:
    virtual ~TFolderScannerDelagate() = default;
    // A folder is about to be listed: {"fpath": its path, "folders": folders found so far}.
    virtual void scanProgress(const QVariantMap& info) = 0;
};

// The process-wide abort flag: cleared when a scan starts, raised by a cancel.
std::atomic<bool>& isScanAborted();

// Walks a folder and everything beneath it into the tree under a root node.
//
// Which entries enter the tree, in the order tested: symbolic links never do; nor does
// anything whose path ends in ".lproj"; nor paths the exclusion list covers; folders whose
// name starts with "." are passed over except the trash (".Trash" in any case), unless the
// scan's options ask for them; with stayOnOneFileSystem, folders on another device than the
// scanned folder are passed over (mount points beneath it); files named ".DS_Store" are
// passed over. Application bundles become one folder node with isApp set,
// kind "Application" and their whole content beneath them.
//
// Each folder is listed completely by one reading thread; children keep the order the
// directory returned, so the tree is the same for any number of threads. With one thread
// the folders are read depth-first in list order, each listed whole before its subfolders;
// with more, several folders are read at once, so progress reports and the point where an
// abort takes effect vary from run to run (see FolderWalk).
//
// One scanner serves one scan at a time; folder totals are computed afterwards
// (AnalysisLib::totalFinishedTree, and the root's below).
class TFolderScanner {
public:
    TFolderScanner();
    ~TFolderScanner();
    TFolderScanner(const TFolderScanner&) = delete;
    TFolderScanner& operator=(const TFolderScanner&) = delete;

    void setDelegate(TFolderScannerDelagate* delegate) { delegate_ = delegate; }
    TFolderScannerDelagate* delegate() const { return delegate_; }

    // Threads reading directories: 1 reads everything on the scan thread.
    void setThreadCount(int threads) { threads_ = threads < 1 ? 1 : threads; }
    int threadCount() const { return threads_; }
    static int defaultThreadCount();

    // The exclusion list the next scans use; by default the shared list as it stands when
    // a scan starts.
    void setExclusionList(std::shared_ptr<const ExclusionList> list) { exclusions_ = std::move(list); }

    // The options the next scans use (default: none set).
    void setOptions(const FolderScanOptions& options) { options_ = options; }
    const FolderScanOptions& options() const { return options_; }

    // Scans the root's path into its (empty) child list. Returns true when the walk
    // completed; false when it was aborted or the root folder could not be opened.
    bool scanFolder(TFoldInfo* root);

    // Folders found by the current or last scan.
    qint64 iScanFolders() const { return iScanFolders_.load(std::memory_order_relaxed); }
    // Folders the current or last scan passed over because they are hidden, or because
    // they lie on another file system (stayOnOneFileSystem); their content is not counted.
    qint64 hiddenFoldersSkipped() const { return hiddenFoldersSkipped_.load(std::memory_order_relaxed); }
    qint64 otherFileSystemsSkipped() const { return otherFileSystemsSkipped_.load(std::memory_order_relaxed); }

    // The kind text of a file, from its extension: "Unknown File Type" when there is none;
    // apostrophes removed. Looked up once per distinct extension.
    QString getKindString(const QString& path);
    KindTable::Id kindForName(std::string_view name);

    // Sends one progress report for the folder to the delegate, with the folder count now
    // (or the one given).
    void postNotificationForParsingFolder(const QString& path);
    void postNotificationForParsingFolder(const QString& path, qint64 folders);

    // Subtracts a node already taken out of its parent's child list from every ancestor:
    // one file (files and applications) or one folder from the counts, and its sizes.
    static void reduceSizeForParentOf(TFoldInfo* node);
    // Takes a node out of its parent's child list and subtracts it from every ancestor, in
    // one step, so a node can never leave without its totals or the other way round. False
    // (nothing changes) for a root or a node its parent no longer lists, e.g. one taken out
    // before. The node itself stays valid as long as its tree lives.
    static bool takeNodeOutOfTree(TFoldInfo* node);
    static void reduceSizeOfNode(TFoldInfo* node, TFoldInfo* fromParentNode);

    // Totals (see AnalysisLib). This variant leaves an application's counts at 0.
    static void ReadFileFolderCountAndSize(std::span<TFoldInfo* const> list, TFolderInfo& folderInfo);
    void ReadFoldersForTreeExplorer(std::span<TFoldInfo* const> list);
    // Totals of the root's children, then the root's own counts and sizes. Holds lock().
    void ReadFilesCountAndSizeForRoot(TFoldInfo* root);

    std::mutex& lock() { return mutex_; }

    // Called on the reading thread after each node is added to its folder's list, before the
    // next entry is looked at (by several threads at once when there are several). Lets
    // tests stop a scan at a known place.
    void setNodeAddedCallback(std::function<void(const TFoldInfo&)> callback) { nodeAdded_ = std::move(callback); }

private:
    TFolderScannerDelagate* delegate_ = nullptr;
    int threads_;
    std::shared_ptr<const ExclusionList> exclusions_;
    FolderScanOptions options_;
    std::atomic<qint64> iScanFolders_{0};
    std::atomic<qint64> hiddenFoldersSkipped_{0};
    std::atomic<qint64> otherFileSystemsSkipped_{0};
    std::mutex kindsMutex_;
    ExtensionKinds kinds_; // for getKindString; each reading thread has its own
    std::function<void(const TFoldInfo&)> nodeAdded_;
    std::mutex mutex_;
};
