#pragma once

#include <cstddef>

// The process's open-descriptor limit as the scanner sees it.
namespace DescriptorLimit {

// Raises the soft RLIMIT_NOFILE to the hard limit (what a user may allow themselves without
// privilege) and returns the soft limit in force afterwards.
std::size_t raiseToHardLimit();

// How many folder descriptors a scan with `threads` readers may keep open for later use
// (parents waiting for their subfolders to be opened), given the soft limit now in force.
// Together with the few each reader uses at a time, a scan stays under half the limit, so
// the rest of the program keeps room; 0 when the limit is too low to keep any.
std::size_t heldFolderBudget(int threads);

} // namespace DescriptorLimit
