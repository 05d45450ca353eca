#pragma once

#include "scan/DirReader.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Worker threads that read folders ahead of the scan thread.
//
// The scan thread still walks the tree itself, in the same order and with the same
// decisions as a walk without helpers; it only finds the listings of the folders it is
// about to enter already read. Folders are read newest-first (a stack), which follows the
// depth-first walk, and the amount read but not yet used is bounded so memory and open
// descriptors stay small however far the workers could run ahead.
class ReadAheadPool {
public:
    struct Job;
    using JobPtr = std::shared_ptr<Job>;

    // `workers` threads; stops reading ahead while the unused listings hold more than
    // `entryBudget` entries or `jobBudget` folders. Workers stop early when `abort` is set.
    ReadAheadPool(int workers, const std::atomic<bool>& abort, std::size_t entryBudget = 262144,
                  std::size_t jobBudget = 1024);
    ~ReadAheadPool();
    ReadAheadPool(const ReadAheadPool&) = delete;
    ReadAheadPool& operator=(const ReadAheadPool&) = delete;

    // Queues folders to read; the last one queued is read first, so callers queue the
    // folders they will enter first last.
    std::vector<JobPtr> submitInReverse(std::vector<DirLocation> locations);

    // The listing of a queued folder: waits while a worker reads it, or reads it on the
    // calling thread when no worker has started it yet.
    DirListing take(const JobPtr& job);

private:
    void workerLoop();
    // The next queued folder while the budget has room, taken off the stack; else null.
    JobPtr popQueuedLocked();
    // Reads the job with the lock released and publishes its listing.
    void runLocked(const JobPtr& job, std::unique_lock<std::mutex>& lock);

    const std::atomic<bool>& abort_;
    const std::size_t entryBudget_;
    const std::size_t jobBudget_;
    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable jobDone_;
    std::vector<JobPtr> stack_;
    std::size_t unusedEntries_ = 0;
    std::size_t unusedJobs_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
