#include "scan/ReadAheadPool.h"

struct ReadAheadPool::Job {
    enum class State { Queued, Running, Done, Taken };
    State state = State::Queued;
    DirLocation location;
    DirListing listing;
};

ReadAheadPool::ReadAheadPool(int workers, const std::atomic<bool>& abort, std::size_t entryBudget,
                             std::size_t jobBudget)
    : abort_(abort), entryBudget_(entryBudget), jobBudget_(jobBudget)
{
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { workerLoop(); });
}

ReadAheadPool::~ReadAheadPool()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workAvailable_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

std::vector<ReadAheadPool::JobPtr> ReadAheadPool::submitInReverse(std::vector<DirLocation> locations)
{
    std::vector<JobPtr> jobs;
    jobs.reserve(locations.size());
    for (DirLocation& location : locations) {
        auto job = std::make_shared<Job>();
        job->location = std::move(location);
        jobs.push_back(std::move(job));
    }
    {
        std::lock_guard lock(mutex_);
        for (auto it = jobs.rbegin(); it != jobs.rend(); ++it)
            stack_.push_back(*it);
    }
    workAvailable_.notify_all();
    return jobs;
}

DirListing ReadAheadPool::take(const JobPtr& job)
{
    std::unique_lock lock(mutex_);
    if (job->state == Job::State::Queued) {
        // Nobody started it: read it here rather than wait. It stays on the stack, marked,
        // and workers skip it.
        job->state = Job::State::Taken;
        lock.unlock();
        return DirReader::read(job->location);
    }
    // A helper is reading it: rather than sit idle, read another queued folder meanwhile.
    while (job->state != Job::State::Done) {
        if (JobPtr other = popQueuedLocked()) {
            runLocked(other, lock);
            continue;
        }
        jobDone_.wait(lock);
    }
    job->state = Job::State::Taken;
    unusedEntries_ -= job->listing.entries.size();
    --unusedJobs_;
    lock.unlock();
    workAvailable_.notify_all(); // the budget has room again
    return std::move(job->listing);
}

ReadAheadPool::JobPtr ReadAheadPool::popQueuedLocked()
{
    while (!stack_.empty() && stack_.back()->state != Job::State::Queued)
        stack_.pop_back();
    if (stack_.empty() || unusedEntries_ >= entryBudget_ || unusedJobs_ >= jobBudget_)
        return nullptr;
    JobPtr job = std::move(stack_.back());
    stack_.pop_back();
    return job;
}

void ReadAheadPool::runLocked(const JobPtr& job, std::unique_lock<std::mutex>& lock)
{
    job->state = Job::State::Running;
    lock.unlock();
    DirListing listing = DirReader::read(job->location);
    lock.lock();
    job->listing = std::move(listing);
    job->state = Job::State::Done;
    unusedEntries_ += job->listing.entries.size();
    ++unusedJobs_;
    jobDone_.notify_all();
}

void ReadAheadPool::workerLoop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        JobPtr job;
        workAvailable_.wait(lock, [&] { return stopping_ || (job = popQueuedLocked()) != nullptr; });
        if (stopping_)
            return;
        if (abort_.load(std::memory_order_relaxed)) {
            job->state = Job::State::Queued; // the scan is ending; the scan thread reads what it still needs
            continue;
        }
        runLocked(job, lock);
    }
}
