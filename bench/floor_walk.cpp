// floor_walk: the least a scanner can do, as a floor for the benchmarks.
//
//   floor_walk [--threads N] [--skip-hidden-folders] DIR
//
// Reads every folder under DIR (getdents64 on an openat descriptor) and makes one
// statx(AT_SYMLINK_NOFOLLOW) call per entry, on N threads (default 2) sharing a stack of
// folders still to read. It keeps nothing but counters: no tree, no names. Symbolic links are
// not followed, hard links are counted each time they are met, and DIR itself is not counted.
// Prints the entries, folders, apparent bytes (st_size) and allocated bytes (st_blocks * 512).
// With --skip-hidden-folders a folder whose name starts with "." is counted but not read, the
// way Quorvel leaves hidden folders out, so the two can be compared on the same work.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

struct Counts {
    uint64_t entries = 0, folders = 0, apparent = 0, allocated = 0, errors = 0;
};

std::mutex g_mutex;
std::condition_variable g_wake;
std::vector<std::string> g_stack; // folders still to read
size_t g_busy = 0;                // folders taken but not yet finished
bool g_skipHidden = false;

void readFolder(const std::string& path, Counts& c, std::vector<std::string>& found)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        ++c.errors;
        return;
    }
    alignas(8) char buf[64 * 1024];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, fd, buf, sizeof buf);
        if (n <= 0) {
            c.errors += n < 0;
            break;
        }
        for (long off = 0; off < n;) {
            const auto* d = reinterpret_cast<const LinuxDirent64*>(buf + off);
            off += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            struct statx st;
            if (::statx(fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                        STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BLOCKS | STATX_INO, &st) != 0) {
                ++c.errors;
                continue;
            }
            ++c.entries;
            c.apparent += st.stx_size;
            c.allocated += st.stx_blocks * 512;
            if (S_ISDIR(st.stx_mode)) {
                ++c.folders;
                if (!g_skipHidden || name[0] != '.')
                    found.push_back(path + '/' + name);
            }
        }
    }
    ::close(fd);
}

void worker(Counts& c)
{
    std::vector<std::string> found;
    std::unique_lock lock(g_mutex);
    for (;;) {
        g_wake.wait(lock, [] { return !g_stack.empty() || g_busy == 0; });
        if (g_stack.empty())
            return; // nothing queued and nobody reading: done
        std::string path = std::move(g_stack.back());
        g_stack.pop_back();
        ++g_busy;
        lock.unlock();

        found.clear();
        readFolder(path, c, found);

        lock.lock();
        --g_busy;
        for (auto& f : found)
            g_stack.push_back(std::move(f));
        if (!found.empty() || g_busy == 0)
            g_wake.notify_all();
    }
}

} // namespace

int main(int argc, char** argv)
{
    int threads = 2;
    const char* dir = nullptr;
    bool ok = true;
    for (int i = 1; i < argc && ok; ++i) {
        if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
            threads = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--skip-hidden-folders") == 0)
            g_skipHidden = true;
        else if (!dir && argv[i][0] != '-')
            dir = argv[i];
        else
            ok = false;
    }
    if (!ok || !dir || threads < 1) {
        std::fprintf(stderr, "usage: floor_walk [--threads N] [--skip-hidden-folders] DIR\n");
        return 2;
    }

    g_stack.emplace_back(dir);
    std::vector<Counts> counts(static_cast<size_t>(threads));
    std::vector<std::thread> pool;
    for (auto& c : counts)
        pool.emplace_back(worker, std::ref(c));
    Counts total;
    for (size_t i = 0; i < pool.size(); ++i) {
        pool[i].join();
        total.entries += counts[i].entries;
        total.folders += counts[i].folders;
        total.apparent += counts[i].apparent;
        total.allocated += counts[i].allocated;
        total.errors += counts[i].errors;
    }
    std::printf("%llu entries, %llu folders, %llu bytes apparent, %llu bytes allocated, %llu errors\n",
                (unsigned long long)total.entries, (unsigned long long)total.folders,
                (unsigned long long)total.apparent, (unsigned long long)total.allocated,
                (unsigned long long)total.errors);
    return total.errors ? 1 : 0;
}
