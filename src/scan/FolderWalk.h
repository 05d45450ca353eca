#pragma once

#include "base/FolderScanOptions.h"
#include "base/ItemAccess.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class ExclusionList;
class ScanTree;
class TFoldInfo;

// What a walk tells its scanner as it goes. Both functions may be empty; they are called
// from any reading thread, progress never by two threads at once.
struct WalkHooks {
    std::atomic<qint64>* folderCount = nullptr;           // folders found so far
    // A folder is about to be listed and `folders` (the count at that moment) is a multiple of 20.
    std::function<void(const QString& path, qint64 folders)> progress;
    std::function<void(const TFoldInfo& node)> nodeAdded; // a node joined its folder's list
    std::atomic<qint64>* hiddenFoldersSkipped = nullptr;     // hidden folders passed over
    std::atomic<qint64>* otherFileSystemsSkipped = nullptr;  // folders on other devices passed over
};

// One scan of a folder tree into a ScanTree, by a fixed set of reading threads (the calling
// thread and threads - 1 helpers) sharing a stack of folders still to read.
//
// A reader owns a folder from open to close: it lists every entry (one statx each, relative
// to the folder's descriptor), decides which enter the tree, builds their nodes in its own
// arena and sets the folder's child list in directory order, so the tree is the same for
// any number of readers. Subfolders go onto the stack, the first one on top: with one
// reader the folders are read in the order of a depth-first walk that lists each folder
// whole before entering its subfolders. Nothing recurses, so any depth can be scanned.
//
// When the last folder beneath a folder has been read, that folder's totals (sizes and
// counts of everything beneath it) are stored and added to its parent, once; the root's
// own totals are left to the caller.
//
// Descriptors: a folder's descriptor is kept open for its subfolders to be opened relative
// to it while the held count stays within a budget well below the process's limit; beyond
// it, a subfolder is opened by walking down from the root by name. A folder that still
// cannot be opened, or whose reading stops at an error, is logged and marked unreadable;
// it keeps what was read of it.
//
// A folder's record lives until everything beneath it has been read (its subfolders open
// relative to it); the walk computes no totals.
class FolderWalk {
public:
    FolderWalk(ScanTree& tree, const ExclusionList* exclusions, const FolderScanOptions& options, int threads,
               WalkHooks hooks);
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Scans the tree's root. True when every folder was read; false when the scan was
    // aborted or the root folder could not be opened. The tree keeps what was read.
    bool run();

private:
    struct Job;
    struct Reader;
    class Exclusions;

    void readLoop(Reader& reader);
    Job* takeJob(Job* finished, std::vector<Job*>& found);
    void listFolder(Reader& reader, Job& job);
    void addEntry(Reader& reader, Job& job, int fd, std::string_view name, unsigned char dtype);
    bool admitsFolder(std::string_view name, bool statOk, dev_t dev) const;
    int openFolder(Job& job);
    int openFromRoot(const Job& job);
    void releaseParentDescriptor(Job& job);
    void holdOrClose(Job& job, int fd, std::size_t subfolders);
    void finishPart(Job* job);
    void abandon(Job* job);
    QString pathOf(const Job& job) const;

    ScanTree& tree_;
    const ExclusionList* exclusions_;
    const FolderScanOptions options_;
    const int threads_;
    WalkHooks hooks_;
    UserIdentity user_; // who may delete what, read once per scan
    std::string rootPath_;
    std::optional<dev_t> rootDevice_; // unknown when the root cannot be asked
    std::size_t heldBudget_;
    std::atomic<std::size_t> held_{0};
    bool rootOpened_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Job*> stack_;
    int busy_ = 0;
    int waiting_ = 0;
    bool finished_ = false;
    std::mutex progressMutex_;
};
