#include "reports/FileAttributes.h"

#include "reports/RangeNodes.h"
#include "scan/TFoldInfo.h"

#include <sys/stat.h>

#include <mutex>
#include <unordered_map>

namespace {

constexpr std::uint32_t kPermissionMask = 07777;

// Modes read after the scan, for the few nodes whose scan mode had no permissions. An
// entry of a tree that has gone may be met again by a new node at the same address; such a
// node starts with attrState Absent, is read afresh and overwrites the entry.
struct LateModes {
    std::mutex mutex;
    std::unordered_map<const TFoldInfo*, std::uint32_t> modes;
};

LateModes& lateModes()
{
    static LateModes table;
    return table;
}

std::optional<std::uint32_t> lateMode(const TFoldInfo* node)
{
    LateModes& table = lateModes();
    const std::lock_guard lock(table.mutex);
    const auto it = table.modes.find(node);
    if (it == table.modes.end())
        return std::nullopt;
    return it->second;
}

void keepLateMode(const TFoldInfo* node, std::uint32_t mode)
{
    LateModes& table = lateModes();
    const std::lock_guard lock(table.mutex);
    table.modes[node] = mode;
}

} // namespace

namespace FileAttributes {

Permissions posixPermissions(TFoldInfo& node)
{
    const std::uint32_t scanBits = node.mode() & kPermissionMask;
    if (scanBits != 0) {
        if (node.attrState() != TFoldInfo::AttrState::Read)
            node.setAttrState(TFoldInfo::AttrState::Read);
        return {scanBits, Source::Present};
    }
    if (node.attrState() == TFoldInfo::AttrState::Read)
        if (const auto mode = lateMode(&node))
            return {*mode & kPermissionMask, Source::Present};

    struct stat st {};
    if (::lstat(node.sPathBytes().constData(), &st) != 0) {
        node.setAttrState(TFoldInfo::AttrState::Failed);
        return {0, Source::Failed};
    }
    keepLateMode(&node, std::uint32_t(st.st_mode));
    node.setAttrState(TFoldInfo::AttrState::Read);
    return {std::uint32_t(st.st_mode) & kPermissionMask, Source::ReadNow};
}

bool isReadOnly(TFoldInfo& node)
{
    const Permissions p = posixPermissions(node);
    return p.source != Source::Failed && p.bits == kReadonlyPermissions;
}

} // namespace FileAttributes
