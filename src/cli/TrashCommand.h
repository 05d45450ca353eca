#pragma once

#include <QStringList>

namespace Cli {

// quorvel-cli trash [--delete-from-trash] PATH...
// Moves each item to the trash as the application does. An item already lying directly in
// the home trash is refused, unless --delete-from-trash is given: then it is deleted for
// good. Paths the trash guard refuses (TrashGuard) are never touched. Prints a line on stderr for each item that could not
// be trashed; exit 0 when all went, 1 when any failed, 2 without a PATH.
int runTrash(const QStringList& args);

} // namespace Cli
