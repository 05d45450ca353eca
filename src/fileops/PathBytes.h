#pragma once

#include <QByteArray>
#include <QString>

// Paths as the raw bytes the file system uses. File operations work on these so that a
// name that is not valid UTF-8 reaches the system calls unchanged; QString is only for
// showing a path to a person or writing it to the log.
namespace PathBytes {

// Removes repeated slashes, "." components and trailing slashes ("/" stays "/"). ".." is
// kept as written: resolving it by text would be wrong across symbolic links.
QByteArray clean(const QByteArray& path);

// `path` made absolute against the current folder, then cleaned.
QByteArray absolute(const QByteArray& path);

// The last component of a cleaned path ("" for "/").
QByteArray lastComponent(const QByteArray& path);

// The path without its last component ("/" for "/a", "" for a bare name).
QByteArray parent(const QByteArray& path);

// folder + "/" + name, without doubling the slash after "/".
QByteArray join(const QByteArray& folder, const QByteArray& name);

// A name's extension: the text after its last dot. A name that starts with its only dot
// (".bashrc") or ends with a dot ("notes.") has none.
struct NameParts {
    QByteArray base;      // the name without the dot and extension
    QByteArray extension; // may be empty
};
NameParts splitExtension(const QByteArray& name);

// True when anything exists at the path, a dangling symbolic link included.
bool exists(const QByteArray& path);

// The path as text for messages and log lines.
inline QString display(const QByteArray& path) { return QString::fromUtf8(path); }

} // namespace PathBytes
