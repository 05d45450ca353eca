#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The file-system work behind FileOprations, on raw byte paths. Nothing here overwrites
// or merges: every item is created exclusively, so an existing name is an error, never a
// replacement. Nothing here shows anything to a person.
namespace FsOps {

// A failed system call: its errno and the item it was working on.
struct Failure {
    int code = 0;
    QByteArray path;
    QString reason; // set instead of a system message when no errno explains it

    // "No such file or directory" style text, or the reason.
    QString text() const;
};

using Result = std::optional<Failure>; // nullopt on success

enum class Purpose {
    Copy, // a copy that stays beside its source
    Move, // a copy whose source is removed afterwards
};

// Copies a file, a symbolic link (as a link), a named pipe, a device node, or a whole
// folder tree to `target`, which must not exist. Permissions, times and (for root)
// owners are kept. For a move, every copied file is flushed to disk before the call
// returns, so that the source may then be removed, and a tree that holds a mounted volume
// is refused before its contents could be removed. A copy that fails part way stops at
// the first failure and removes what it made, so nothing half copied is left under the
// item's name (the failure says so when even that removal fails).
Result copyItem(const QByteArray& source, const QByteArray& target, Purpose purpose);

// Deletes an item for good: a file or link is unlinked, a folder is emptied depth first
// (without following links out of it) and removed.
Result removeItem(const QByteArray& path);

// Renames `source` to `target` when nothing exists at `target`; never replaces.
// Returns 0 or the errno (EXDEV when the two lie on different file systems).
int renameNoReplace(const QByteArray& source, const QByteArray& target);

// True when `folder` is the folder `item` itself or lies somewhere inside it, judged by
// device and inode so that symbolic links and mount points cannot hide it.
bool isSameOrInside(const QByteArray& folder, const QByteArray& item);

} // namespace FsOps
