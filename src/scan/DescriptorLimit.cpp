#include "scan/DescriptorLimit.h"

#include <algorithm>
#include <sys/resource.h>

namespace {

// Descriptors one reader may have open at once: the folder it lists, plus two while it
// walks down from the root to a folder whose parent kept none.
constexpr std::size_t kPerReader = 3;
// No scan needs more held folders than this, however high the limit.
constexpr std::size_t kMostHeld = 4096;

std::size_t softLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kMostHeld * 4;
    return std::size_t(limit.rlim_cur);
}

} // namespace

namespace DescriptorLimit {

std::size_t raiseToHardLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    return softLimit();
}

std::size_t heldFolderBudget(int threads)
{
    const std::size_t half = softLimit() / 2;
    const std::size_t readers = kPerReader * std::size_t(std::max(threads, 1));
    return half > readers ? std::min(half - readers, kMostHeld) : 0;
}

} // namespace DescriptorLimit
