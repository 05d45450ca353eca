#pragma once

#include <QString>

#include <cstdint>

// Process-wide table of interned kind texts ("File Folder", "PNG image" ...). A node
// stores a 16-bit id instead of a string. Ids never change and texts are never removed,
// so a text looked up by id stays valid for the life of the process.
namespace KindTable {

using Id = std::uint16_t;

constexpr Id kNone = 0;       // no kind (a new node)
constexpr Id kFileFolder = 1; // "File Folder", the kind of an ordinary folder
constexpr Id kUnknownFileType = 2; // "Unknown File Type"

// The id of the text, adding it when new. Thread-safe. When the table is full (65,535
// distinct kinds) new texts map to "Unknown File Type".
Id intern(const QString& text);

// The text of an id; an empty string for kNone or an unknown id. Thread-safe, lock-free.
const QString& text(Id id);

} // namespace KindTable
