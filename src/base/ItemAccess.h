#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

// Who the process runs as, read once: the answer to "may this user write or delete that
// item" comes from the mode bits and owners the scan already holds, never from extra
// system calls per entry.
struct UserIdentity {
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups; // supplementary groups, sorted

    // The identity of the process now (read afresh on each call: a few system calls).
    static UserIdentity current();
    bool isRoot() const { return uid == 0; }
    bool inGroup(gid_t group) const;
};

// The ownership and permission facts of one item.
struct AccessFacts {
    std::uint32_t mode = 0; // st_mode
    uid_t uid = 0;
    gid_t gid = 0;
    bool readOnlyMount = false;
};

namespace ItemAccess {

// Writable: the mode bits of the owner, group or others class the user falls in allow
// writing. Root may always write unless the file system is mounted read-only.
bool isWritable(const UserIdentity& user, const AccessFacts& item);

// Deletable: the parent folder is writable and, when it has the sticky bit, the user owns
// the item or the parent (or is root).
bool isDeletable(const UserIdentity& user, const AccessFacts& item, const AccessFacts& parent);

// Reads the facts of a path (not following a final symbolic link). False when it cannot.
bool readFacts(const char* path, AccessFacts& out);

} // namespace ItemAccess
