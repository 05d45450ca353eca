#include "base/ItemAccess.h"

#include <algorithm>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

UserIdentity UserIdentity::current()
{
    UserIdentity id;
    id.uid = ::geteuid();
    id.gid = ::getegid();
    const int n = ::getgroups(0, nullptr);
    if (n > 0) {
        id.groups.resize(size_t(n));
        const int got = ::getgroups(n, id.groups.data());
        id.groups.resize(size_t(std::max(got, 0)));
    }
    std::sort(id.groups.begin(), id.groups.end());
    return id;
}

bool UserIdentity::inGroup(gid_t group) const
{
    return group == gid || std::binary_search(groups.begin(), groups.end(), group);
}

namespace ItemAccess {

bool isWritable(const UserIdentity& user, const AccessFacts& item)
{
    if (item.readOnlyMount)
        return false;
    if (user.isRoot())
        return true;
    if (item.uid == user.uid)
        return item.mode & S_IWUSR;
    if (user.inGroup(item.gid))
        return item.mode & S_IWGRP;
    return item.mode & S_IWOTH;
}

bool isDeletable(const UserIdentity& user, const AccessFacts& item, const AccessFacts& parent)
{
    if (!isWritable(user, parent))
        return false;
    if ((parent.mode & S_ISVTX) && !user.isRoot())
        return item.uid == user.uid || parent.uid == user.uid;
    return true;
}

bool readFacts(const char* path, AccessFacts& out)
{
    struct stat st {};
    if (::lstat(path, &st) != 0)
        return false;
    out.mode = st.st_mode;
    out.uid = st.st_uid;
    out.gid = st.st_gid;
    struct statvfs vfs {};
    out.readOnlyMount = ::statvfs(path, &vfs) == 0 && (vfs.f_flag & ST_RDONLY);
    return true;
}

} // namespace ItemAccess
