#pragma once

#include "fileops/FileSystemOps.h"

#include <QByteArray>

// The check every trash request passes before anything moves: the core's
// FileOprations, the windows' nodes (through FileOprations) and the command line all ask
// it with the path exactly as they were given it.
//
// A path names an item the user may not have meant, or one whose loss breaks the system
// or the trash itself, when it
//  - is empty, or ends in "." or ".." (both name a folder by its relation to another, and
//    the empty path and "x/." used to become the current folder),
//  - is "/", the current folder or a folder that holds it, the home folder or a folder
//    that holds it, or the top folder of a mounted volume,
//  - is a folder of the shared exclusion list's protected ("dirNotDelete") list,
//  - is a trash folder, its "files" or "info" folder, a folder that holds the home trash,
//    or an information file of a trash (moving one orphans the item it describes).
// Links are judged as the links themselves: a link to the home folder may be trashed.
namespace TrashGuard {

// Why the item must not go to the trash (errno EPERM or EINVAL and a reason to show), or
// nullopt when it may. An item that does not exist is left to the trash operation, which
// reports the system's own reason.
FsOps::Result refusal(const QByteArray& path);

} // namespace TrashGuard
