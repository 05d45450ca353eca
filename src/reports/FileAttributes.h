#pragma once

#include <cstdint>
#include <optional>

class TFoldInfo;

// The node's attribute dictionary (iAttr): what the reports need of it is the POSIX
// permission bits.
//
// The scan's own statx already read every entry's mode, and the node keeps it. That mode
// is the dictionary as read at scan time, so asking for it costs nothing: no system call
// per file, which matters for the attributes report on a million files. Only when the scan
// could not learn the permissions (its statx failed and the mode holds just the file type,
// which looks the same as a file with permissions 000) is the item read now with lstat on
// its path. The outcome is recorded in the node's attrState (Read, or Failed while the
// dictionary stays absent, so a later need reads again), and a mode read that way is kept
// in a small side table, outside the node's fixed part. Main thread only.
namespace FileAttributes {

// How a permission request was answered.
enum class Source {
    Present,  // the dictionary was already there (the scan's mode, or an earlier read)
    ReadNow,  // it was absent and has just been read
    Failed,   // it was absent and could not be read; it stays absent
};

struct Permissions {
    std::uint32_t bits = 0; // st_mode & 07777; 0 when the read failed
    Source source = Source::Present;
};

// The node's POSIX permission bits, reading the dictionary now when it is absent.
Permissions posixPermissions(TFoldInfo& node);

// True when the permission bits equal 0444 exactly; false when they cannot be read.
bool isReadOnly(TFoldInfo& node);

} // namespace FileAttributes
