#pragma once

#include "fileops/FileSystemOps.h"

#include <QByteArray>

// The freedesktop.org trash, on raw byte paths.
//
// An item on the file system of the user's data folder goes to the home trash,
// $XDG_DATA_HOME/Trash; an item elsewhere goes to the trash at the top of its own file
// system ($topdir/.Trash/$uid when an administrator prepared $topdir/.Trash, otherwise
// $topdir/.Trash-$uid). Each trashed item gets an information file in the trash's info/
// folder, written before the item is moved, naming where it came from and when, so file
// managers can put it back. Names taken in the trash get "-0000", "-0001" ... appended.
//
// QFile::moveToTrash would do the same, but it cannot carry a name that is not valid
// UTF-8, refuses a dangling symbolic link, writes the information file only after the
// move without checking the write, and reports success after moving the item into
// ./files when the data folder is missing. This keeps its layout and naming without those.
namespace Trash {

// Moves an item (file, folder, link) into the trash of its file system. On success the
// item is gone from its place and lies under the trash's files/ folder; *trashedAt, when
// given, receives its new path.
FsOps::Result moveToTrash(const QByteArray& absolutePath, QByteArray* trashedAt = nullptr);

// True when the folder that holds the item is the user's home trash folder
// (Paths::trashFiles()): equal to it when letter case is ignored, and the very same folder
// on disk. A look-alike folder that differs only in case is a different folder on Linux,
// and its items are not in the trash.
bool liesDirectlyInHomeTrash(const QByteArray& absolutePath);

// Deletes an item of the home trash for good, together with its information file.
FsOps::Result deleteFromHomeTrash(const QByteArray& absolutePath);

} // namespace Trash
